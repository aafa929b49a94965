#include "ui/runs/runs.h"

#include "common/messages.h"
#include "ui/graphs/graph_geometry.h"
#include "ui/graphs/unitgra.h"
#include "ui/main/run_windows.h"
#include "ui/runs/unitdiag.h"

using namespace qv;

namespace {

const QSize kGraphsFirstSize(960, 600);
const QSize kReportFirstSize(800, 600);

// The options that take a value.
const QStringList kValueOptions = {QStringLiteral("--home")};

// The runs that could be read; one message for all that could not.
QList<LoadedRun> loadRuns(const QStringList& paths) {
  QList<LoadedRun> runs;
  QStringList failures;
  for (const QString& path : paths) {
    LoadedRun run;
    QString error;
    if (LoadRun(path, &run, &error))
      runs << std::move(run);
    else
      failures << error;
  }
  if (!failures.isEmpty())
    ShowMessage(failures.join(QLatin1Char('\n')));
  return runs;
}

TFormDiag* openChannelReport(int channel) {
  for (ChildWindow* window : FreeChildWindows()) {
    auto* report = qobject_cast<TFormDiag*>(window);
    if (report && report->source().channel() == channel) {
      report->raise();
      report->activateWindow();
      return report;
    }
  }
  auto* report = new TFormDiag(channel);
  ShowFreeWindow(report, kReportFirstSize);
  return report;
}

}  // namespace

void RegisterRunWindows() {
  SetRunWindowOpeners({[](const QStringList& paths) { OpenRunGraphs(paths); },
                       [](const QString& path) { OpenFileReport(path); },
                       [] { OpenChannelReports(); }});
}

TFormGra* OpenRunGraphs(const QStringList& paths) {
  QList<LoadedRun> runs = loadRuns(paths);
  if (runs.isEmpty())
    return nullptr;
  auto* window = new TFormGra(std::move(runs));
  ShowFreeWindow(window, kGraphsFirstSize);
  return window;
}

TFormDiag* OpenFileReport(const QString& path) {
  QList<LoadedRun> runs = loadRuns({path});
  if (runs.isEmpty())
    return nullptr;
  auto* report = new TFormDiag(std::move(runs.first()));
  ShowFreeWindow(report, kReportFirstSize);
  return report;
}

QList<TFormDiag*> OpenChannelReports() {
  QList<TFormDiag*> reports;
  for (int channel = 0; channel < 2; ++channel) {
    if (RecordedCount(ChannelData[channel]) > 0)
      reports << openChannelReport(channel);
  }
  if (reports.isEmpty())
    ShowMessage(QStringLiteral("Ни один канал ещё не записал измерений."));
  return reports;
}

QStringList RunFileArguments(const QStringList& arguments) {
  QStringList files;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (kValueOptions.contains(argument))
      ++i;
    else if (!argument.startsWith(QLatin1Char('-')) &&
             argument.endsWith(QStringLiteral(".gra"), Qt::CaseInsensitive))
      files << argument;
  }
  return files;
}
