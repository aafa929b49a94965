// qvctl as a user runs it, against the simulator on a pseudo-terminal.
#include <gtest/gtest.h>
#include <signal.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <cmath>

#include "sim/memory_image.h"
#include "tests/acquisition/hand_run.h"
#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"
#include "tools/qvctl/poll_schedule.h"

using namespace qv;

namespace {

struct Outcome {
  int exitCode = -1;
  QString out;
  QString err;
  qint64 ms = 0;
};

class Qvctl : public ::testing::Test {
 protected:
  void startSim(const QStringList& arguments = {}) {
    sim = std::make_unique<SimProcess>(arguments);
    ASSERT_TRUE(sim->start());
  }

  // qvctl with the temporary program folder and the simulator's device.
  Outcome run(const QStringList& arguments, bool withPort = true) {
    QStringList all{"--home", folder.path()};
    if (withPort && sim)
      all << "--port" << sim->devicePath();
    all << arguments;
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QVCTL_PATH, all);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(30000));
    Outcome result;
    result.ms = clock.elapsed();
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
  }

  TempProgramFolder folder;
  std::unique_ptr<SimProcess> sim;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
};

TEST_F(Qvctl, IdentifyPrintsTheVersion) {
  startSim();
  const Outcome r = run({"identify"});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, "QV V2.3Z\n");
}

TEST_F(Qvctl, UnsupportedVersionExitsThree) {
  startSim({"--version-text", "QV V9.9Z"});
  const Outcome r = run({"identify"});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.out, "QV V9.9Z\n");
  EXPECT_EQ(r.err, "qvctl: Данное устройство не поддерживается!\n");
}

TEST_F(Qvctl, NoUsableReplyExitsTwoWithinTheTimeouts) {
  for (const char* fault : {"silence=1", "badcrc=1", "nak=1"}) {
    startSim({"--fault", fault});
    const Outcome r = run({"identify"});
    EXPECT_EQ(r.exitCode, 2) << fault;
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_LT(r.ms, 10000) << fault;
  }
}

TEST_F(Qvctl, MissingPortIsOneClearLine) {
  const Outcome r = run({"--port", folder.file("no-such-device"), "identify"}, false);
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_EQ(r.err.count('\n'), 1);
  EXPECT_TRUE(r.err.contains("no-such-device")) << r.err.toStdString();
}

TEST_F(Qvctl, SpeedZeroInTheSettingsIsNamed) {
  startSim();
  WriteAll(folder.file("qv20.ini"), "[COMMON]\r\nCOMSpeed=0\r\n");
  const Outcome r = run({"identify"});
  EXPECT_EQ(r.exitCode, 4);
  EXPECT_EQ(r.err, "qvctl: " + sim->devicePath() + " не открылся!!! (no usable speed: 0 baud)\n");
  EXPECT_EQ(run({"--baud", "38400", "identify"}).exitCode, 0);
}

// qv20.ini names COM5; what the user gave on the command line is what the
// error names.
TEST_F(Qvctl, PortErrorsNameThePortAsGiven) {
  const QString missing = folder.file("missing7");
  WriteAll(folder.file("qv20.ini"),
           "[COMMON]\r\nCOM=5\r\n[PORTS]\r\nCOM7=" + missing.toUtf8() + "\r\n");
  struct Case {
    QString port;
    QString named;
  } cases[] = {
      {folder.file("no-such-device"), folder.file("no-such-device")},
      {"COM7", "COM7"},
      {"com7", "COM7"},
      {"7", "COM7"},
  };
  for (const Case& c : cases) {
    const Outcome r = run({"--port", c.port, "identify"}, false);
    EXPECT_EQ(r.exitCode, 4) << c.port.toStdString();
    EXPECT_TRUE(r.err.startsWith("qvctl: Не могу открыть " + c.named + "! " + c.named +
                                 " не открылся!!! ("))
        << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("COM5")) << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
  }
}

TEST_F(Qvctl, PortAsComNumberOrNameInAnyCase) {
  startSim();
  WriteAll(folder.file("qv20.ini"),
           "[COMMON]\r\nCOM=5\r\n[PORTS]\r\nCOM3=" + sim->devicePath().toUtf8() + "\r\n");
  for (const char* port : {"3", "COM3", "com3", "Com3"}) {
    const Outcome r = run({"--port", port, "identify"}, false);
    EXPECT_EQ(r.exitCode, 0) << port << ": " << r.err.toStdString();
    EXPECT_EQ(r.out, "QV V2.3Z\n") << port;
  }
  for (const char* port : {"0", "COM0", "100", "com100"})
    EXPECT_EQ(run({"--port", port, "identify"}, false).exitCode, 1) << port;
}

TEST_F(Qvctl, CommunicationLogFromTheSettingsOrTheOption) {
  startSim();
  struct Case {
    const char* setting;
    bool option;
    bool logged;
  } cases[] = {{"1", false, true}, {"0", true, true}, {"0", false, false}};
  for (const Case& c : cases) {
    QDir(folder.path() + "LOG").removeRecursively();
    WriteAll(folder.file("qv20.ini"), QByteArray("[COMMON]\r\nSaveComLog=") + c.setting + "\r\n");
    QStringList arguments{"identify"};
    if (c.option)
      arguments.prepend("--log");
    ASSERT_EQ(run(arguments).exitCode, 0);
    const QStringList logs = QDir(folder.path() + "LOG").entryList(QDir::Files);
    EXPECT_EQ(logs.size(), c.logged ? 1 : 0) << c.setting << c.option;
    if (!logs.isEmpty()) {
      EXPECT_TRUE(ReadAll(folder.path() + "LOG/" + logs[0]).contains("U_WhoAreYou"));
    }
  }
}

TEST_F(Qvctl, BusyPortIsRefused) {
  startSim();
  QProcess holder;
  holder.start(QVCTL_PATH,
               {"--home", folder.path(), "--port", sim->devicePath(), "poll", "--interval", "0.2"});
  ASSERT_TRUE(holder.waitForReadyRead(5000));
  const Outcome r = run({"identify"});
  holder.kill();
  holder.waitForFinished();
  EXPECT_EQ(r.exitCode, 4) << r.err.toStdString();
  EXPECT_EQ(r.err.count('\n'), 1);
}

TEST_F(Qvctl, ScreenAndPress) {
  startSim();
  const Outcome screen = run({"screen"});
  ASSERT_EQ(screen.exitCode, 0) << screen.err.toStdString();
  QStringList lines = screen.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(lines[i].size(), 20) << lines[i].toStdString();
  EXPECT_TRUE(lines[4].startsWith("cursor: ")) << lines[4].toStdString();
  const Outcome down = run({"press", "down"});
  ASSERT_EQ(down.exitCode, 0);
  EXPECT_NE(down.out.split('\n')[4], lines[4]);
  EXPECT_EQ(run({"press", "sideways"}).exitCode, 1);
}

TEST_F(Qvctl, PollPrintsBothChannelsPerReply) {
  startSim({"--start", "1", "--step-seconds", "30"});
  const Outcome r = run({"poll", "--interval", "0", "--count", "3"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(lines[i].startsWith(i % 2 == 0 ? "Ch1 " : "Ch2 ")) << lines[i].toStdString();
    EXPECT_EQ(lines[i].size(), 4 + 5 + 131) << lines[i].toStdString();
    EXPECT_EQ(lines[i].count(';'), 10);
  }
  EXPECT_EQ(lines[0].mid(4, 1), "W");  // channel 1 runs
  EXPECT_TRUE(QDir(folder.path() + "GRA").isEmpty()) << "poll only watches";
}

// Milliseconds of each request the simulator traced, from its start.
QList<qint64> requestTimes(const QByteArray& trace) {
  QList<qint64> times;
  for (const QByteArray& line : trace.split('\n')) {
    const QList<QByteArray> fields = line.split(' ');
    if (fields.size() >= 3 && fields[1] == "rx")
      times << std::llround(fields[0].toDouble() * 1000);
  }
  return times;
}

// Every reply comes 300 ms late; the requests still go every 500 ms, not
// every 800.
TEST_F(Qvctl, PollKeepsItsPeriodWhateverTheExchangesTake) {
  startSim({"--trace", "--fault", "delay=1", "--delay-ms", "300"});
  const Outcome r = run({"poll", "--interval", "0.5", "--count", "5"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  sim->stop();
  const QList<qint64> times = requestTimes(sim->errorOutput());
  ASSERT_EQ(times.size(), 5) << sim->errorOutput().toStdString();
  const qint64 span = times.last() - times.first();
  EXPECT_GE(span, 4 * 500 - 50);
  EXPECT_LT(span, 4 * 500 + 600);  // interval plus exchange would be 3200
}

TEST(PollSchedule, SlotsKeepToTheGridAndSkipOnlyWhatIsTooLate) {
  struct Case {
    const char* name;
    qint64 last;
    qint64 nowMs;
    qint64 intervalMs;
    PollSlot next;
  } cases[] = {
      {"an exchange within its interval waits for the next slot", 0, 300, 1000, {1, 1000}},
      {"a slot a little late goes at once", 0, 1300, 1000, {1, 1300}},
      {"half an interval late is still on time", 0, 1500, 1000, {1, 1500}},
      {"further behind the slot is skipped for the next", 0, 1600, 1000, {2, 2000}},
      {"a long overrun skips to the first slot on time", 3, 7400, 1000, {7, 7400}},
      {"later slots stay on the grid", 7, 7450, 1000, {8, 8000}},
      {"no interval: one after the other", 4, 1234, 0, {5, 1234}},
  };
  for (const Case& c : cases) {
    const PollSlot next = NextPollSlot(c.last, c.nowMs, c.intervalMs);
    EXPECT_EQ(next.index, c.next.index) << c.name;
    EXPECT_EQ(next.atMs, c.next.atMs) << c.name;
  }
}

TEST_F(Qvctl, RecordPrintsTheRunsFileAndStopsOnceEveryRunEnded) {
  startSim({"--start", "1", "--time-scale", "3000"});
  const Outcome r = run({"record", "--interval", "0.2", "--until-end"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList printed = r.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(printed.size(), 1);
  EXPECT_TRUE(QRegularExpression("/GRA/\\d{8}_\\d{6}_1\\.gra$").match(printed[0]).hasMatch())
      << printed[0].toStdString();
  const QByteArray lines = ReadAll(printed[0]);
  EXPECT_GE(lines.count("\r\n"), 2);
  EXPECT_TRUE(lines.startsWith("       0.00;"));
}

TEST_F(Qvctl, RecordFromASilentChargerExitsTwoWithinTheTimeouts) {
  startSim({"--fault", "silence=1"});
  const Outcome r = run({"record", "--until-end"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
  EXPECT_LT(r.ms, 5000);
  EXPECT_EQ(run({"record", "--interval", "0"}, false).exitCode, 1);
}

// The recorder is killed and started again, and in between the charger goes
// silent for a while: one run, one file, the time going on.
TEST_F(Qvctl, ARunSurvivesAKilledRecorderAndASilentCharger) {
  startSim({"--start", "1"});
  const QString gra = folder.path() + "GRA/";
  const auto lines = [&] {
    const QStringList files = QDir(gra).entryList(QDir::Files);
    return files.size() == 1 ? ReadAll(gra + files[0]).count("\r\n") : qsizetype(0);
  };
  const QStringList arguments{"--home", folder.path(), "--port", sim->devicePath(),
                              "record", "--interval",  "0.2"};
  QProcess first;
  first.start(QVCTL_PATH, arguments);
  ASSERT_TRUE(WaitFor([&] { return lines() >= 3; }, 10000));
  first.kill();
  first.waitForFinished();

  QProcess second;
  second.start(QVCTL_PATH, arguments);
  ASSERT_TRUE(WaitFor([&] { return lines() >= 6; }, 10000));
  ::kill(static_cast<pid_t>(sim->processId()), SIGSTOP);
  QByteArray said;  // stderr comes in pieces
  ASSERT_TRUE(WaitFor(
      [&] {
        said += second.readAllStandardError();
        return said.contains("Нет связи");
      },
      15000));
  ::kill(static_cast<pid_t>(sim->processId()), SIGCONT);
  const qsizetype before = lines();
  ASSERT_TRUE(WaitFor([&] { return lines() >= before + 3; }, 20000));
  second.kill();
  second.waitForFinished();

  const QStringList files = QDir(gra).entryList(QDir::Files);
  ASSERT_EQ(files.size(), 1);
  EXPECT_EQ(QString::fromUtf8(first.readAllStandardOutput()).trimmed(), gra + files[0]);
  EXPECT_EQ(QString::fromUtf8(second.readAllStandardOutput()).trimmed(), gra + files[0]);
  double previous = -1;
  for (const QByteArray& line : ReadAll(gra + files[0]).split('\n')) {
    if (line.trimmed().isEmpty())
      continue;
    const double minutes = line.left(11).trimmed().toDouble();
    EXPECT_GE(minutes, previous) << line.constData();
    previous = minutes;
  }
}

TEST_F(Qvctl, ReadMemoryWritesTheDumpFile) {
  startSim();
  const QString out = folder.file("MEM/eeprom.bin");
  const Outcome r = run({"--log", "read-memory", "eeprom", "--out", out});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QByteArray dump = ReadAll(out);
  ASSERT_EQ(dump.size(), 0x4C00);
  EXPECT_EQ(dump.mid(0x4000, 0x400), sim::SyntheticMemoryImage().mid(0x4000, 0x400));
  EXPECT_EQ(dump.left(0x4000), QByteArray(0x4000, '\0'));
  // The communication log went to the program folder.
  const QStringList logs = QDir(folder.path() + "LOG").entryList(QDir::Files);
  ASSERT_EQ(logs.size(), 1);
  EXPECT_EQ(ReadAll(folder.path() + "LOG/" + logs[0]).count("U_ReadMemory"), 16);

  // An existing file is replaced only when asked to.
  const Outcome again = run({"read-memory", "sram", "--out", out});
  EXPECT_EQ(again.exitCode, 5);
  EXPECT_EQ(ReadAll(out), dump);
  EXPECT_EQ(run({"--yes", "read-memory", "sram", "--out", out}).exitCode, 0);
  EXPECT_NE(ReadAll(out), dump);
}

// Nothing read, nothing written: no dump is created and an older one stays.
TEST_F(Qvctl, ReadMemoryThatGotNoBlockWritesNoFile) {
  startSim({"--fault", "badcrc=1"});
  const QString out = folder.file("MEM/dump.bin");
  const Outcome none = run({"read-memory", "eeprom", "--out", out});
  EXPECT_EQ(none.exitCode, 2);
  EXPECT_EQ(none.err.count('\n'), 1) << none.err.toStdString();
  EXPECT_TRUE(none.err.contains(out + " not written")) << none.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(out));

  WriteAll(out, "an older dump");
  const Outcome kept = run({"--yes", "read-memory", "all", "--out", out});
  EXPECT_EQ(kept.exitCode, 2);
  EXPECT_EQ(kept.err.count('\n'), 1) << kept.err.toStdString();
  EXPECT_EQ(ReadAll(out), "an older dump");
  // Each read gave up after three blocks of five attempts.
  EXPECT_EQ(sim->stop().value("requests"), 2 * 3 * 5);
}

QMap<QString, qint64> figuresOf(const QString& out) {
  QMap<QString, qint64> figures;
  for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
    figures.insert(line.section(' ', 0, 0), line.section(' ', 1).toLongLong());
  return figures;
}

TEST_F(Qvctl, SoakCountsEveryExchange) {
  startSim();
  // Four rounds of measurement, screen, measurement, memory block, measurement.
  const Outcome r = run({"soak", "--exchanges", "20"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QMap<QString, qint64> f = figuresOf(r.out);
  EXPECT_EQ(f.value("exchanges"), 20);
  EXPECT_EQ(f.value("commands"), 20);
  EXPECT_EQ(f.value("accepted"), 20);
  EXPECT_EQ(f.value("failed"), 0);
  EXPECT_EQ(f.value("retries"), 0);
  EXPECT_EQ(f.value("bytes.sent"), 16 * 1 + 4 * 5);
  EXPECT_EQ(f.value("bytes.received"), 12 * 25 + 4 * 83 + 4 * 69);
  EXPECT_EQ(f.value("port.opens"), 1);
  EXPECT_TRUE(f.contains("longest.memory.ms"));
  EXPECT_EQ(sim->stop().value("requests"), 20);
}

TEST_F(Qvctl, SoakCarriesOnAfterFailedCommands) {
  startSim({"--fault", "nak=1"});
  const Outcome r = run({"soak", "--exchanges", "10"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QMap<QString, qint64> f = figuresOf(r.out);
  EXPECT_EQ(f.value("exchanges"), 10);
  EXPECT_EQ(f.value("commands"), 2);
  EXPECT_EQ(f.value("failed"), 2);
  EXPECT_EQ(f.value("retries"), 10);  // five a command: one more than it repeats
  EXPECT_EQ(f.value("bytes.received"), 10);
  EXPECT_EQ(f.value("port.opens"), 2);  // the failed measurement closed the port
  EXPECT_EQ(run({"soak", "--exchanges", "0"}).exitCode, 1);
}

// Recorded runs read back: files made here, no charger anywhere.
class QvctlRunFile : public Qvctl {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    environment.insert("LC_ALL", "C");
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  QString runFile(const QByteArray& lines, const QString& name = "20240131_235930_1.gra") {
    const QString path = folder.file("GRA/" + name);
    WriteAll(path, lines);
    return path;
  }

  static QJsonObject jsonOf(const Outcome& r) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
    EXPECT_TRUE(document.isObject()) << r.out.toStdString();
    EXPECT_EQ(r.out.count('\n'), 1) << "one line, one object";
    return document.object();
  }
};

QStringList sorted(QStringList words) {
  words.sort();
  return words;
}

// The figures of the hand-worked run in run_analysis_test.cpp.
TEST_F(QvctlRunFile, SummaryAsJsonHasExactlyItsKeys) {
  const Outcome r = run({"summary", runFile(LogLines(RestChargeRestDischarge())), "--json"});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.err, "");
  const QJsonObject summary = jsonOf(r);
  EXPECT_EQ(summary.keys(),
            sorted({"samples", "duration_min", "charged_ah", "discharged_ah", "charged_wh",
                    "discharged_wh", "voltage_min", "voltage_max", "voltage_end", "temp_max",
                    "heatsink_max", "efficiency", "phases"}));
  EXPECT_EQ(summary["samples"].toInt(), 10);
  EXPECT_DOUBLE_EQ(summary["duration_min"].toDouble(), 17);
  EXPECT_NEAR(summary["charged_ah"].toDouble(), 0.175, 1e-9);
  EXPECT_NEAR(summary["discharged_ah"].toDouble(), 0.15, 1e-9);
  EXPECT_NEAR(summary["charged_wh"].toDouble(), 2.36, 1e-9);
  EXPECT_NEAR(summary["discharged_wh"].toDouble(), 1.7475, 1e-9);
  EXPECT_DOUBLE_EQ(summary["voltage_min"].toDouble(), 11.2);
  EXPECT_DOUBLE_EQ(summary["voltage_max"].toDouble(), 14);
  EXPECT_DOUBLE_EQ(summary["voltage_end"].toDouble(), 11.5);
  EXPECT_DOUBLE_EQ(summary["temp_max"].toDouble(), 26);
  EXPECT_DOUBLE_EQ(summary["heatsink_max"].toDouble(), 36);
  EXPECT_NEAR(summary["efficiency"].toDouble(), 1.7475 / 2.36, 1e-9);

  const QJsonArray phases = summary["phases"].toArray();
  ASSERT_EQ(phases.size(), 4);
  const char* const kinds[] = {"rest", "charge", "rest", "discharge"};
  const double starts[] = {0, 2, 9, 11};
  const double ends[] = {1, 8, 10, 17};
  for (int i = 0; i < 4; ++i) {
    const QJsonObject phase = phases[i].toObject();
    EXPECT_EQ(phase.keys(), sorted({"kind", "start_min", "end_min", "ah", "wh", "voltage_start",
                                    "voltage_end", "temp_max"}))
        << i;
    EXPECT_EQ(phase["kind"].toString(), kinds[i]);
    EXPECT_DOUBLE_EQ(phase["start_min"].toDouble(), starts[i]) << i;
    EXPECT_DOUBLE_EQ(phase["end_min"].toDouble(), ends[i]) << i;
  }
  const QJsonObject charge = phases[1].toObject();
  EXPECT_NEAR(charge["ah"].toDouble(), 0.175, 1e-9);
  EXPECT_NEAR(charge["wh"].toDouble(), 2.36, 1e-9);
  EXPECT_DOUBLE_EQ(charge["voltage_start"].toDouble(), 13);
  EXPECT_DOUBLE_EQ(charge["voltage_end"].toDouble(), 14);
  EXPECT_DOUBLE_EQ(charge["temp_max"].toDouble(), 26);
}

TEST_F(QvctlRunFile, EfficiencyIsNullWithoutChargeAndDischarge) {
  const std::vector<HandSample> charge = {{0, 1, 12, 20, 25, 0, 12}, {60, 1, 13, 21, 26, 1, 13}};
  const QJsonObject summary = jsonOf(run({"summary", runFile(LogLines(charge)), "--json"}));
  ASSERT_TRUE(summary.contains("efficiency"));
  EXPECT_TRUE(summary["efficiency"].isNull());
  EXPECT_NEAR(summary["charged_ah"].toDouble(), 1, 1e-9);
  EXPECT_EQ(summary["discharged_wh"].toDouble(), 0);
}

TEST_F(QvctlRunFile, SummaryReadsAsText) {
  const Outcome r = run({"summary", runFile(LogLines(RestChargeRestDischarge()))});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
  for (const char* line : {"start        2024-01-31 23:59:30", "channel      1", "samples      10",
                           "duration     17.00 min", "charged      0.175 Ah, 2.360 Wh",
                           "discharged   0.150 Ah, 1.748 Wh", "efficiency   74.0 %"}) {
    EXPECT_TRUE(lines.contains(line)) << line << "\n" << r.out.toStdString();
  }
  const qsizetype table = lines.indexOf("phases:");
  ASSERT_GE(table, 0) << r.out.toStdString();
  ASSERT_EQ(lines.size(), table + 2 + 4) << r.out.toStdString();
  const QStringList charge = lines[table + 3].split(' ', Qt::SkipEmptyParts);
  EXPECT_EQ(charge,
            QStringList({"charge", "2.00", "8.00", "0.175", "2.360", "13.00", "14.00", "26.0"}));
}

TEST_F(QvctlRunFile, DamagedLinesAreOneWarningOnStderr) {
  const QByteArray lines = LogLines(RestChargeRestDischarge());
  const Outcome r =
      run({"summary", runFile(lines.left(3 * 133) + "junk\r\n" + lines.mid(3 * 133) + "   1.00;"),
           "--json"});
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("пропущено повреждённых строк: 2")) << r.err.toStdString();
  EXPECT_EQ(jsonOf(r)["samples"].toInt(), 10);
}

TEST_F(QvctlRunFile, FilesWithoutSamplesAndWrongCommandLines) {
  const QString good = runFile(LogLines(RestChargeRestDischarge()));
  struct Case {
    const char* name;
    QStringList arguments;
    int exitCode;
  } cases[] = {
      {"an empty file", {"summary", runFile("", "empty.gra")}, 1},
      {"damaged lines only", {"summary", runFile("junk\r\n\x01\x02\r\n", "junk.gra"), "--json"}, 1},
      {"a missing file", {"summary", folder.file("GRA/none.gra")}, 5},
      {"a folder", {"summary", folder.file("GRA")}, 5},
      {"no file", {"summary", "--json"}, 1},
      {"two files", {"summary", good, good}, 1},
      {"an unknown option", {"summary", good, "--xml"}, 1},
      {"export without --csv", {"export", good}, 1},
      {"export without OUT", {"export", good, "--csv"}, 1},
      {"export of an empty file",
       {"export", runFile("", "empty.gra"), "--csv", folder.file("e.csv")},
       1},
  };
  for (const Case& c : cases) {
    const Outcome r = run(c.arguments, false);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.name << ": " << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << c.name << ": " << r.err.toStdString();
    EXPECT_EQ(r.out, "") << c.name;
  }
  EXPECT_FALSE(QFileInfo::exists(folder.file("e.csv")));
}

// Reading a file needs no charger: a port that does not exist, a speed the
// settings cannot open and a communication log asked for change nothing.
TEST_F(QvctlRunFile, NoPortIsOpenedAndNoPortSettingsRead) {
  WriteAll(folder.file("qv20.ini"), "[COMMON]\r\nCOMSpeed=0\r\n");
  const QString file = runFile(LogLines(RestChargeRestDischarge()));
  for (const QStringList& command :
       {QStringList{"summary", file}, QStringList{"export", file, "--csv", folder.file("r.csv")}}) {
    const Outcome r =
        run(QStringList{"--log", "--port", folder.file("no-such-device")} + command, false);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, "");
  }
  EXPECT_TRUE(QDir(folder.path() + "LOG").isEmpty());
}

// The table in the user's locale: a Russian one gets ";" and decimal commas,
// the C locale "," and points; the date-times start at the name's 23:59:30.
TEST_F(QvctlRunFile, ExportWritesTheTableInTheUsersLocale) {
  const std::vector<HandSample> samples = RestChargeRestDischarge();
  const QString file = runFile(LogLines(samples));
  struct Case {
    const char* locale;
    QChar separator;
    QLocale reading;
  } cases[] = {{"ru_RU.UTF-8", u';', QLocale(QLocale::Russian, QLocale::Russia)},
               {"C", u',', QLocale::c()}};
  for (const Case& c : cases) {
    environment.insert("LC_ALL", c.locale);
    const QString out = folder.file(QString("run-%1.csv").arg(c.locale));
    const Outcome r = run({"export", file, "--csv", out});
    ASSERT_EQ(r.exitCode, 0) << c.locale << ": " << r.err.toStdString();
    EXPECT_EQ(r.out, "");
    const QByteArray csv = ReadAll(out);
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << c.locale;
    const QStringList rows = QString::fromUtf8(csv.mid(3)).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 1 + 10) << c.locale;
    EXPECT_TRUE(rows[0].startsWith(QString("Дата и время") + c.separator + "Время (мин)"))
        << rows[0].toStdString();
    const QStringList eighth = rows[1 + 8].split(c.separator);
    ASSERT_EQ(eighth.size(), 12) << rows[1 + 8].toStdString();
    EXPECT_EQ(eighth[0], "2024-02-01 00:14:30") << c.locale;  // 15 minutes after the start
    EXPECT_EQ(c.reading.toDouble(eighth[1 + kVoltageField]), samples[8].voltage) << c.locale;
    EXPECT_EQ(c.reading.toDouble(eighth[1 + kPowerField]), samples[8].power) << c.locale;
  }
}

TEST_F(QvctlRunFile, ExportThatCannotBeWrittenExitsFive) {
  const QString out = folder.file("missing/run.csv");
  const Outcome r = run({"export", runFile(LogLines(RestChargeRestDischarge())), "--csv", out});
  EXPECT_EQ(r.exitCode, 5);
  EXPECT_EQ(r.err, "qvctl: cannot write " + out + "\n");
  EXPECT_FALSE(QFileInfo::exists(folder.file("missing")));
}

TEST_F(Qvctl, HelpIsTheUsageOnStdout) {
  for (const char* help : {"--help", "-h", "help"}) {
    const Outcome r = run({help}, false);
    EXPECT_EQ(r.exitCode, 0) << help;
    EXPECT_TRUE(r.out.startsWith("usage: qvctl ")) << help;
    EXPECT_TRUE(r.out.contains("exit codes:")) << help;
    EXPECT_TRUE(r.err.isEmpty()) << help << ": " << r.err.toStdString();
  }
  EXPECT_EQ(run({"--port", "3", "--help"}, false).exitCode, 0);
}

TEST_F(Qvctl, UsageErrors) {
  EXPECT_EQ(run({}, false).exitCode, 1);
  EXPECT_EQ(run({"frobnicate"}, false).exitCode, 1);
  EXPECT_EQ(run({"--baud", "x", "identify"}, false).exitCode, 1);
  EXPECT_EQ(run({"read-memory", "eeprom"}, false).exitCode, 1);
}

}  // namespace
