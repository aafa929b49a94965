#include "tools/qvctl/run_commands.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <cstdio>
#include <optional>

#include "acquisition/run_analysis.h"
#include "acquisition/run_export.h"
#include "acquisition/run_file.h"
#include "common/text.h"
#include "tools/qvctl/device_commands.h"
#include "tools/qvctl/options.h"

using namespace qv;

namespace {

constexpr int kExitNoSamples = 1;

int usage(const char* text) {
  std::fprintf(stderr, "usage: qvctl %s\n", text);
  return kExitUsage;
}

bool readable(const QString& path) {
  QFile file(path);
  return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly);
}

// The run in the file, its warning said; nothing, with *exitCode and one
// line on stderr, when the file gives no sample.
std::optional<LoadedRun> loadRun(const QString& path, int* exitCode) {
  LoadedRun run;
  QString error;
  if (!LoadRun(path, &run, &error)) {
    if (!run.warning().isEmpty())
      error += QStringLiteral(" (") + run.warning() + u')';
    PrintError(error);
    *exitCode = readable(path) ? kExitNoSamples : kExitFile;
    return std::nullopt;
  }
  if (!run.warning().isEmpty())
    PrintError(path + QStringLiteral(": ") + run.warning());
  return run;
}

QJsonObject phaseJson(const RunPhase& phase) {
  return {
      {QStringLiteral("kind"), QLatin1String(PhaseKindKey(phase.kind))},
      {QStringLiteral("start_min"), phase.startMin},
      {QStringLiteral("end_min"), phase.endMin},
      {QStringLiteral("ah"), phase.ah},
      {QStringLiteral("wh"), phase.wh},
      {QStringLiteral("voltage_start"), phase.voltageStart},
      {QStringLiteral("voltage_end"), phase.voltageEnd},
      {QStringLiteral("temp_max"), phase.tempMax},
  };
}

QByteArray summaryJson(const RunSummary& s) {
  QJsonArray phases;
  for (const RunPhase& phase : s.phases)
    phases.append(phaseJson(phase));
  const QJsonObject object{
      {QStringLiteral("samples"), s.samples},
      {QStringLiteral("duration_min"), s.durationMin},
      {QStringLiteral("charged_ah"), s.chargedAh},
      {QStringLiteral("discharged_ah"), s.dischargedAh},
      {QStringLiteral("charged_wh"), s.chargedWh},
      {QStringLiteral("discharged_wh"), s.dischargedWh},
      {QStringLiteral("voltage_min"), s.voltageMin},
      {QStringLiteral("voltage_max"), s.voltageMax},
      {QStringLiteral("voltage_end"), s.voltageEnd},
      {QStringLiteral("temp_max"), s.tempMax},
      {QStringLiteral("heatsink_max"), s.heatsinkMax},
      {QStringLiteral("efficiency"), s.efficiency ? QJsonValue(*s.efficiency) : QJsonValue()},
      {QStringLiteral("phases"), phases},
  };
  return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A label and its value, the values in one column.
QString row(const char* label, const QString& value) {
  return QStringLiteral("%1 %2").arg(QLatin1String(label), -12).arg(value);
}

QString energy(double ah, double wh) {
  return FormatFixed(ah, 3) + QStringLiteral(" Ah, ") + FormatFixed(wh, 3) + QStringLiteral(" Wh");
}

QString phaseRow(const QString& kind, const QStringList& values) {
  QString text = QStringLiteral("  %1").arg(kind, -9);
  for (const QString& value : values)
    text += QStringLiteral("%1").arg(value, 9);
  return text;
}

QString phaseLine(const RunPhase& p) {
  return phaseRow(QLatin1String(PhaseKindKey(p.kind)),
                  {FormatFixed(p.startMin, 2), FormatFixed(p.endMin, 2), FormatFixed(p.ah, 3),
                   FormatFixed(p.wh, 3), FormatFixed(p.voltageStart, 2),
                   FormatFixed(p.voltageEnd, 2), FormatFixed(p.tempMax, 1)});
}

QStringList summaryText(const LoadedRun& run, const RunSummary& s) {
  QStringList lines{row("file", run.path)};
  if (run.name.start)
    lines << row("start", WallClockText(*run.name.start));
  if (run.name.channel >= 0)
    lines << row("channel", QString::number(run.name.channel + 1));
  lines << row("samples", QString::number(s.samples))
        << row("duration", FormatFixed(s.durationMin, 2) + QStringLiteral(" min"))
        << row("charged", energy(s.chargedAh, s.chargedWh))
        << row("discharged", energy(s.dischargedAh, s.dischargedWh))
        << row("efficiency", s.efficiency
                                 ? FormatFixed(*s.efficiency * 100, 1) + QStringLiteral(" %")
                                 : QStringLiteral("-"))
        << row("voltage", QStringLiteral("lowest %1 V, highest %2 V, at the end %3 V")
                              .arg(FormatFixed(s.voltageMin, 2), FormatFixed(s.voltageMax, 2),
                                   FormatFixed(s.voltageEnd, 2)))
        << row("temperature", QStringLiteral("battery up to %1 °C, heat sink up to %2 °C")
                                  .arg(FormatFixed(s.tempMax, 1), FormatFixed(s.heatsinkMax, 1)))
        << QStringLiteral("phases:")
        << phaseRow(QStringLiteral("kind"),
                    {QStringLiteral("from min"), QStringLiteral("to min"), QStringLiteral("Ah"),
                     QStringLiteral("Wh"), QStringLiteral("V start"), QStringLiteral("V end"),
                     QStringLiteral("T max")});
  for (const RunPhase& phase : s.phases)
    lines << phaseLine(phase);
  return lines;
}

}  // namespace

int RunSummaryCommand(const QStringList& arguments) {
  const char* kUsage = "summary FILE [--json]";
  QStringList files = arguments;
  const bool json = files.removeAll(QStringLiteral("--json")) == 1;
  if (files.size() != 1 || files[0].startsWith(u'-') || files.size() + json != arguments.size())
    return usage(kUsage);
  int exitCode = kExitOk;
  const std::optional<LoadedRun> run = loadRun(files[0], &exitCode);
  if (!run)
    return exitCode;
  const RunSummary summary = SummarizeRun(run->series());
  if (json) {
    PrintLine(QString::fromUtf8(summaryJson(summary)));
  } else {
    for (const QString& line : summaryText(*run, summary))
      PrintLine(line);
  }
  return kExitOk;
}

int RunExportCommand(const QStringList& arguments) {
  const char* kUsage = "export FILE --csv OUT";
  const qsizetype option = arguments.indexOf(QStringLiteral("--csv"));
  if (arguments.size() != 3 || (option != 0 && option != 1))
    return usage(kUsage);
  const QString file = arguments[option == 0 ? 2 : 0];
  const QString out = arguments[option + 1];
  if (file.startsWith(u'-'))
    return usage(kUsage);
  int exitCode = kExitOk;
  const std::optional<LoadedRun> run = loadRun(file, &exitCode);
  if (!run)
    return exitCode;
  if (!WriteRunCsv(out, run->series(), run->name.start, QLocale())) {
    PrintError(QStringLiteral("cannot write ") + out);
    return kExitFile;
  }
  return kExitOk;
}
