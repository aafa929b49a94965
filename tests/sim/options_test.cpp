#include <gtest/gtest.h>

#include "common/cp1251.h"
#include "sim/options.h"

using namespace qv;

namespace {

using sim::FaultKind;
using sim::ParseResult;
using sim::SimOptions;

ParseResult parse(const QStringList& arguments, SimOptions* options, QString* message) {
  return sim::ParseSimOptions(QStringList{QStringLiteral("qvsim")} + arguments, options, message);
}

TEST(SimOptions, ReadsACommandLine) {
  SimOptions o;
  QString message;
  ASSERT_EQ(parse({"--faults",       "0.05",
                   "--fault",        "silence=0.1",
                   "--fault",        "badcrc=1",
                   "--delay-ms",     "120",
                   "--random",       "77",
                   "--baud",         "38400",
                   "--step-seconds", "2.5",
                   "--link",         "/tmp/ttyQV",
                   "--version-text", QStringLiteral("ЗУ V1"),
                   "--start",        "2",
                   "--discharge",    "2",
                   "--flood",        "--quiet"},
                  &o, &message),
            ParseResult::Run)
      << message.toStdString();
  EXPECT_DOUBLE_EQ(o.faults[FaultKind::Silence], 0.1);
  EXPECT_DOUBLE_EQ(o.faults[FaultKind::BadCrc], 1.0);
  EXPECT_DOUBLE_EQ(o.faults[FaultKind::Delay], 0.05);
  EXPECT_EQ(o.delayMs, 120);
  EXPECT_EQ(o.randomStart, 77);
  EXPECT_TRUE(o.randomGiven);
  EXPECT_EQ(o.runner.baud, 38400);
  EXPECT_DOUBLE_EQ(o.engine.stepSeconds, 2.5);
  EXPECT_EQ(o.runner.linkPath, QStringLiteral("/tmp/ttyQV"));
  EXPECT_EQ(o.engine.versionText, ToCp1251(QStringLiteral("ЗУ V1")));
  EXPECT_EQ(o.startChannels, QList<int>{1});
  EXPECT_EQ(o.dischargeChannels, QList<int>{1});
  EXPECT_TRUE(o.quiet);
  EXPECT_TRUE(o.runner.flood);
}

TEST(SimOptions, DefaultsServePlainly) {
  SimOptions o;
  QString message;
  ASSERT_EQ(parse({}, &o, &message), ParseResult::Run);
  EXPECT_EQ(o.engine.versionText, QByteArray("QV V2.3Z"));
  EXPECT_EQ(o.runner.baud, 0);
  EXPECT_DOUBLE_EQ(o.runner.frameGapSeconds, 0.05);
  EXPECT_EQ(o.engine.stepSeconds, 0.0);
  EXPECT_FALSE(o.randomGiven);
  EXPECT_FALSE(o.runner.flood);
  for (double rate : o.faults.rate)
    EXPECT_EQ(rate, 0.0);
}

TEST(SimOptions, RefusesBadValues) {
  const QStringList cases[] = {
      {"--fault", "noise=0.1"}, {"--fault", "silence"}, {"--fault", "silence=1.5"},
      {"--faults", "-0.1"},     {"--baud", "0"},        {"--baud", "fast"},
      {"--random", "-3"},       {"--start", "3"},       {"--discharge", "0"},
      {"--delay-ms", "x"},      {"--unknown"},          {"extra"},
  };
  for (const QStringList& arguments : cases) {
    SimOptions o;
    QString message;
    EXPECT_EQ(parse(arguments, &o, &message), ParseResult::Error)
        << arguments.join(' ').toStdString();
    EXPECT_FALSE(message.isEmpty());
  }
  SimOptions o;
  QString message;
  EXPECT_EQ(parse({"--help"}, &o, &message), ParseResult::Help);
  EXPECT_TRUE(message.contains(QStringLiteral("--fault")));
}

}  // namespace
