#include "tools/qvctl/options.h"

namespace {

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
  for (; i < words.size() && words[i].startsWith(QLatin1String("--")); ++i) {
    const QString& word = words[i];
    QString value;
    if (word == QLatin1String("--port")) {
      if (!takeValue(words, i, &options.port))
        break;
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
  if (i < words.size() && words[i].startsWith(QLatin1String("--"))) {
    *error = words[i] + QStringLiteral(" needs a value");
    return std::nullopt;
  }
  if (i >= words.size()) {
    *error = QStringLiteral("no command given");
    return std::nullopt;
  }
  options.command = words[i];
  options.arguments = words.mid(i + 1);
  return options;
}

QString UsageText() {
  return QStringLiteral(
      "usage: qvctl [--port N|PATH] [--baud N] [--log] [--yes] [--home DIR] COMMAND\n"
      "commands:\n"
      "  identify                      print the charger's version\n"
      "  screen                        print the charger's display and cursor\n"
      "  press cancel|down|up|ok       press a front-panel button, print the display\n"
      "  poll [--interval S] [--count N]\n"
      "                                print the measurements of both channels\n"
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
      "exit codes: 0 done, 1 usage or macro errors, 2 no usable reply from the charger,\n"
      "            3 device not supported, 4 port cannot be opened, 5 file error\n");
}
