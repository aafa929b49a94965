// qvctl: the charger from the command line, on the program's own core.
#include <QCoreApplication>
#include <cstdio>

#include "link/port.h"
#include "tools/qvctl/device_commands.h"
#include "tools/qvctl/macro_command.h"
#include "tools/qvctl/options.h"
#include "tools/qvctl/record_command.h"
#include "tools/qvctl/run_commands.h"
#include "tools/qvctl/soak_command.h"

using namespace qv;

namespace {

int usage(const QString& error) {
  std::fprintf(stderr, "qvctl: %s\n", error.toUtf8().constData());
  std::fputs(UsageText().toUtf8().constData(), stderr);
  return kExitUsage;
}

// Asked for, the usage is the output.
int help() {
  std::fputs(UsageText().toUtf8().constData(), stdout);
  return kExitOk;
}

int run(const Options& options) {
  const QString& command = options.command;
  if (options.help)
    return help();
  // Commands on files: no charger, so no port and no port settings.
  if (command == QLatin1String("macro"))
    return RunMacroCommand(options.arguments);
  if (command == QLatin1String("summary"))
    return RunSummaryCommand(options.arguments);
  if (command == QLatin1String("export"))
    return RunExportCommand(options.arguments);
  PrepareDevice(options);
  if (command == QLatin1String("identify"))
    return RunIdentify();
  if (command == QLatin1String("screen"))
    return RunScreen();
  if (command == QLatin1String("press"))
    return RunPress(options.arguments);
  if (command == QLatin1String("poll"))
    return RunPoll(options.arguments);
  if (command == QLatin1String("read-memory"))
    return RunReadMemory(options.arguments);
  if (command == QLatin1String("record"))
    return RunRecord(options.arguments);
  if (command == QLatin1String("soak"))
    return RunSoak(options.arguments);
  return usage(QStringLiteral("unknown command ") + command);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QString error;
  const std::optional<Options> options = ParseOptions(app.arguments().mid(1), &error);
  if (!options)
    return usage(error);
  const int code = run(*options);
  ClosePort();
  return code;
}
