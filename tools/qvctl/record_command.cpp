#include "tools/qvctl/record_command.h"

#include <QCoreApplication>
#include <cmath>

#include "acquisition/polling.h"
#include "acquisition/recording.h"
#include "common/settings_record.h"
#include "link/port.h"
#include "tools/qvctl/device_commands.h"
#include "tools/qvctl/options.h"
#include "tools/qvctl/qvctl_host.h"

using namespace qv;

namespace {

struct RecordOptions {
  double intervalSeconds = 0;
  bool untilEnd = false;
};

bool parse(const QStringList& arguments, RecordOptions* options) {
  options->intervalSeconds = PollingIntervalSeconds(Settings.Timer);
  for (int i = 0; i < arguments.size(); ++i) {
    bool ok = true;
    if (arguments[i] == QLatin1String("--until-end")) {
      options->untilEnd = true;
    } else if (arguments[i] == QLatin1String("--interval") && i + 1 < arguments.size()) {
      options->intervalSeconds = arguments[++i].toDouble(&ok);
    } else {
      ok = false;
    }
    if (!ok)
      return false;
  }
  return options->intervalSeconds >= 0.05 && options->intervalSeconds <= 3600;
}

}  // namespace

int RunRecord(const QStringList& arguments) {
  RecordOptions options;
  if (!parse(arguments, &options)) {
    PrintError(QStringLiteral("record takes --interval SECONDS (0.05 to 3600) and --until-end"));
    return kExitUsage;
  }
  if (!OpenChargerPort())
    return kExitPort;
  InitRecording();
  if (const int code = IdentifyOrExplain(); code != kExitOk)
    return code;

  QvctlHost& host = TheQvctlHost();
  host.stopWhenAllEnded = options.untilEnd;
  Poller poller;
  poller.setInterval(static_cast<int>(std::lround(options.intervalSeconds * 1000)));
  QObject::connect(&poller, &Poller::noteChanged, [](const QString& note) {
    if (!note.isEmpty())
      PrintError(note);
  });
  poller.start();
  poller.poll();  // the first sample now, not one interval later
  return options.untilEnd && host.allRunsEnded() ? kExitOk : QCoreApplication::exec();
}
