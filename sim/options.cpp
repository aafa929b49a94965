#include "sim/options.h"

#include <QCommandLineParser>

#include "common/cp1251.h"

namespace qv::sim {

namespace {

struct Parser {
  QCommandLineParser parser;
  QCommandLineOption versionText{"version-text", "Version reply text, 8 characters (QV V2.3Z).",
                                 "TEXT", "QV V2.3Z"};
  QCommandLineOption link{"link", "Also make a symlink PATH to the device (removed at exit).",
                          "PATH"};
  QCommandLineOption fault{"fault",
                           "Fault KIND at RATE 0..1; KIND is silence, badcrc, nak, "
                           "short, long or delay. Repeatable.",
                           "KIND=RATE"};
  QCommandLineOption faults{"faults", "Every fault kind at RATE.", "RATE"};
  QCommandLineOption delay{"delay-ms", "Delay of the delay fault (300).", "MS", "300"};
  QCommandLineOption random{"random", "Random start value, to repeat a run with faults.", "N"};
  QCommandLineOption baud{"baud", "Emulate the wire: 10 bits per byte at N baud (off).", "N"};
  QCommandLineOption step{"step-seconds",
                          "Each measurement request moves the batteries on by S seconds, "
                          "ignoring the clock.",
                          "S"};
  QCommandLineOption timeScale{"time-scale", "Battery seconds per clock second (1).", "F", "1"};
  QCommandLineOption gap{"frame-gap-ms", "Longest pause inside a request frame (50).", "MS", "50"};
  QCommandLineOption start{"start", "Start channel CH (1 or 2) at launch. Repeatable.", "CH"};
  QCommandLineOption discharge{"discharge", "Channel CH discharges instead of charging.", "CH"};
  QCommandLineOption trace{"trace", "Every exchange on stderr."};
  QCommandLineOption quiet{"quiet", "Nothing on stderr but the statistics at exit."};
  QCommandLineOption flood{"flood",
                           "Send random bytes without pause in place of every reply, as a "
                           "line gone wrong would."};

  Parser() {
    parser.setApplicationDescription(
        "Charger simulator on a pseudo-terminal. Prints the device path, serves until "
        "SIGTERM or SIGINT, then prints its statistics on stderr.");
    parser.addHelpOption();
    parser.addOptions({versionText, link, fault, faults, delay, random, baud, step, timeScale, gap,
                       start, discharge, trace, quiet, flood});
  }
};

bool toRate(const QString& text, double* rate) {
  bool ok = false;
  *rate = text.toDouble(&ok);
  return ok && *rate >= 0.0 && *rate <= 1.0;
}

bool toChannels(const QStringList& values, QList<int>* channels) {
  for (const QString& value : values) {
    if (value != QLatin1String("1") && value != QLatin1String("2"))
      return false;
    channels->append(value.toInt() - 1);
  }
  return true;
}

bool applyFaults(const Parser& p, SimOptions* o, QString* message) {
  if (p.parser.isSet(p.faults)) {
    double rate = 0;
    if (!toRate(p.parser.value(p.faults), &rate)) {
      *message = QStringLiteral("--faults wants a rate from 0 to 1");
      return false;
    }
    o->faults.rate.fill(rate);
  }
  for (const QString& item : p.parser.values(p.fault)) {
    const QString name = item.section(QLatin1Char('='), 0, 0);
    const auto kind = FaultFromName(name);
    double rate = 0;
    if (!kind || !item.contains(QLatin1Char('=')) ||
        !toRate(item.section(QLatin1Char('='), 1), &rate)) {
      *message = QStringLiteral("bad --fault ") + item + QStringLiteral(" (KIND=RATE, 0..1)");
      return false;
    }
    o->faults[*kind] = rate;
  }
  return true;
}

bool applyNumbers(const Parser& p, SimOptions* o, QString* message) {
  bool ok = true;
  const auto number = [&](const QCommandLineOption& option, double low, double high) {
    bool good = false;
    const double value = p.parser.value(option).toDouble(&good);
    if (!good || value < low || value > high) {
      *message = QStringLiteral("bad value of --") + option.names().first();
      ok = false;
    }
    return value;
  };
  o->delayMs = static_cast<int>(number(p.delay, 0, 60000));
  o->runner.frameGapSeconds = number(p.gap, 1, 10000) / 1000.0;
  o->engine.timeScale = number(p.timeScale, 0, 1e6);
  if (p.parser.isSet(p.baud))
    o->runner.baud = static_cast<int>(number(p.baud, 1, 4e6));
  if (p.parser.isSet(p.step))
    o->engine.stepSeconds = number(p.step, 0, 86400);
  if (p.parser.isSet(p.random)) {
    bool good = false;
    o->randomStart = p.parser.value(p.random).toLongLong(&good);
    o->randomGiven = true;
    if (!good || o->randomStart < 0) {
      *message = QStringLiteral("--random wants a whole number of 0 or more");
      ok = false;
    }
  }
  return ok;
}

}  // namespace

ParseResult ParseSimOptions(const QStringList& arguments, SimOptions* o, QString* message) {
  Parser p;
  if (!p.parser.parse(arguments)) {
    *message = p.parser.errorText();
    return ParseResult::Error;
  }
  if (p.parser.isSet(QStringLiteral("help"))) {
    *message = p.parser.helpText();
    return ParseResult::Help;
  }
  if (!p.parser.positionalArguments().isEmpty()) {
    *message = QStringLiteral("unexpected argument ") + p.parser.positionalArguments().first();
    return ParseResult::Error;
  }
  o->engine.versionText = ToCp1251(p.parser.value(p.versionText));
  o->runner.linkPath = p.parser.value(p.link);
  o->runner.trace = p.parser.isSet(p.trace);
  o->runner.flood = p.parser.isSet(p.flood);
  o->quiet = p.parser.isSet(p.quiet);
  if (!applyFaults(p, o, message) || !applyNumbers(p, o, message))
    return ParseResult::Error;
  if (!toChannels(p.parser.values(p.start), &o->startChannels) ||
      !toChannels(p.parser.values(p.discharge), &o->dischargeChannels)) {
    *message = QStringLiteral("--start and --discharge want channel 1 or 2");
    return ParseResult::Error;
  }
  return ParseResult::Run;
}

}  // namespace qv::sim
