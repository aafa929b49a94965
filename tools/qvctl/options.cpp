#include "tools/qvctl/options.h"

#include <QRegularExpression>

#include "common/settings_record.h"

using namespace qv;

namespace {

// "3", "COM3", "com3": the COM number; -1 for a number out of range; 0 for
// anything else, which is a device path.
int comNumberOf(const QString& port) {
  static const QRegularExpression comName(QStringLiteral("^(?:com)?(\\d+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = comName.match(port);
  if (!match.hasMatch())
    return 0;
  bool ok = false;
  const int number = match.captured(1).toInt(&ok);
  return ok && number >= 1 && number <= kMaxComNumber ? number : -1;
}

bool isHelp(const QString& word) {
  return word == QLatin1String("--help") || word == QLatin1String("-h") ||
         word == QLatin1String("help");
}

bool takeValue(const QStringList& words, int& i, QString* value) {
  if (i + 1 >= words.size())
    return false;
  *value = words[++i];
  return true;
}

}  // namespace

std::optional<Options> ParseOptions(const QStringList& words, QString* error) {
  Options options;
  int i = 0;
  for (; i < words.size() && words[i].startsWith(QLatin1Char('-')); ++i) {
    const QString& word = words[i];
    QString value;
    if (isHelp(word)) {
      options.help = true;
      return options;
    }
    if (word == QLatin1String("--port")) {
      if (!takeValue(words, i, &options.port))
        break;
      options.comNumber = comNumberOf(options.port);
      if (options.comNumber < 0) {
        *error = QStringLiteral("--port takes a COM number from 1 to %1 or a device path")
                     .arg(kMaxComNumber);
        return std::nullopt;
      }
    } else if (word == QLatin1String("--baud")) {
      bool ok = false;
      if (!takeValue(words, i, &value) || (options.baud = value.toInt(&ok), !ok) ||
          options.baud <= 0) {
        *error = QStringLiteral("--baud needs a positive number");
        return std::nullopt;
      }
    } else if (word == QLatin1String("--log")) {
      options.log = true;
    } else if (word == QLatin1String("--yes")) {
      options.yes = true;
    } else if (word == QLatin1String("--home")) {
      if (!takeValue(words, i, &options.home))
        break;
    } else {
      *error = QStringLiteral("unknown option ") + word;
      return std::nullopt;
    }
  }
  if (i < words.size() && words[i].startsWith(QLatin1Char('-'))) {
    *error = words[i] + QStringLiteral(" needs a value");
    return std::nullopt;
  }
  if (i >= words.size()) {
    *error = QStringLiteral("no command given");
    return std::nullopt;
  }
  options.command = words[i];
  options.arguments = words.mid(i + 1);
  options.help = isHelp(options.command);
  return options;
}

QString UsageText() {
  return QStringLiteral(
      "usage: qvctl [--port N|COMn|PATH] [--baud N] [--log] [--yes] [--home DIR] COMMAND\n"
      "       qvctl --help\n"
      "commands:\n"
      "  identify                      print the charger's version\n"
      "  screen                        print the charger's display and cursor\n"
      "  press cancel|down|up|ok       press a front-panel button, print the display\n"
      "  poll [--interval S] [--count N]\n"
      "                                print the measurements of both channels every\n"
      "                                S seconds (1) at a fixed rate\n"
      "  record [--interval S] [--until-end]\n"
      "                                record every run into GRA/ as the program does,\n"
      "                                printing each run's file; --until-end stops once\n"
      "                                every recorded run has ended\n"
      "  read-memory flash|eeprom|sram|all --out FILE\n"
      "                                read the charger's memory into a dump file\n"
      "  macro compile|listing|format FILE\n"
      "                                compile, list or lay out a macro file\n"
      "  soak [--exchanges N]          measurements, screens and memory blocks until N\n"
      "                                exchanges (1000), printing the link's counters\n"
      "  summary FILE [--json]         print a recorded run's figures and phases, with\n"
      "                                --json as one JSON object (no charger needed)\n"
      "  export FILE --csv OUT         write a recorded run as a table for spreadsheets\n"
      "                                (no charger needed)\n"
      "exit codes: 0 done, 1 usage or macro errors or a run file without samples,\n"
      "            2 no usable reply from the charger, 3 device not supported,\n"
      "            4 port cannot be opened, 5 file error\n");
}
