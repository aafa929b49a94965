#include <gtest/gtest.h>
#include <QFile>

#include "acquisition/query.h"
#include "acquisition/recording.h"
#include "acquisition/run_file.h"
#include "acquisition/shared_state.h"
#include "common/folders.h"
#include "common/ini_file.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tests/acquisition/measurement.h"
#include "tests/support/link_fixture.h"
#include "tests/support/test_host.h"
#include "tests/support/wait.h"

using namespace qv;

namespace {

constexpr uint8_t kChannel1Runs = 0x80;
constexpr double kSecond = 1.0 / 86400;

class Recording : public LinkTest {
 protected:
  void SetUp() override {
    InitSharedState();
    InitRecording();
    TestHost().onRunStarted = [this](int channel, const QString& path) {
      started << runText(channel, path);
    };
    TestHost().onRunEnded = [this](int channel, const QString& path) {
      ended << runText(channel, path);
    };
    openPort();
    port.responder = [this](const QByteArray&) { return ReplyChunks{nextReply}; };
  }

  static QString runText(int channel, const QString& path) {
    return QString::number(channel + 1) + QLatin1Char(' ') + path.section(u'/', -1);
  }

  void measure(int capacity1, uint8_t status = kChannel1Runs, double secondsLater = 2) {
    now += secondsLater * kSecond;
    Measurement m;
    m.current1 = 100;
    m.voltage1 = 1400;
    m.capacity1 = capacity1;
    m.status = status;
    nextReply = m.frame();
    QueryDevice(U_GiveMeADC);
  }

  // The program ends and starts again: only the files remain.
  void restart() {
    InitSharedState();
    InitRecording();
  }

  static QStringList fileLines(const QString& path) {
    QStringList lines = QString::fromLatin1(ReadAll(path)).split(QStringLiteral("\r\n"));
    lines.removeAll(QString());
    return lines;
  }

  static QString note(const char* key) {
    IniFile ini;
    ini.load(SettingsFilePath());
    return ini.readString(QStringLiteral("RUNS"), QLatin1String(key), QStringLiteral("-"));
  }

  QByteArray nextReply;
  QStringList started;
  QStringList ended;
};

TEST_F(Recording, RunBeginsAtSampleZeroInItsOwnFileAndEndsWhenTheChannelStops) {
  measure(0, 0);
  const ChannelRecord& c = ChannelData[0];
  EXPECT_EQ(c.State, kStateIdle);
  EXPECT_TRUE(QDir(GraFolder()).isEmpty());

  measure(5);  // 10:15:06
  const double start = now;
  ASSERT_EQ(c.State, kStateRecording);
  EXPECT_EQ(c.StartTime, start);
  EXPECT_EQ(c.LogPath, GraFolder() + "20240131_101506_1.gra");
  EXPECT_EQ(c.Count, 1);
  EXPECT_EQ(c.DialFlags & kDialShowsSample, kDialShowsSample);
  EXPECT_EQ(started, QStringList{"1 20240131_101506_1.gra"});
  EXPECT_EQ(note("Run1Ended"), "0");

  measure(7, kChannel1Runs, 30);
  const QStringList lines = fileLines(c.LogPath);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("       0.00;       1.00;      14.00;"))
      << lines[0].toStdString();
  EXPECT_TRUE(lines[1].startsWith("       0.50;")) << lines[1].toStdString();
  EXPECT_EQ(ChannelData[1].State, kStateIdle);
  EXPECT_TRUE(ChannelData[1].LogPath.isEmpty());

  measure(7, 0);
  EXPECT_EQ(c.State, kStateEnded);
  EXPECT_EQ(c.Count, 2);
  EXPECT_EQ(c.DialFlags & kDialShowsSample, 0);
  EXPECT_EQ(ended, QStringList{"1 20240131_101506_1.gra"});
  EXPECT_EQ(note("Run1Ended"), "1");
  EXPECT_EQ(fileLines(c.LogPath).size(), 2);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Recording, EveryRunGetsAFileOfItsOwnAlsoWithinOneSecond) {
  measure(5);
  measure(5, 0, 0.1);
  measure(1, kChannel1Runs, 0.1);
  const ChannelRecord& c = ChannelData[0];
  EXPECT_EQ(started, (QStringList{"1 20240131_101504_1.gra", "1 20240131_101504_1_2.gra"}));
  EXPECT_EQ(c.Count, 1);  // the series started again
  EXPECT_EQ(fileLines(GraFolder() + "20240131_101504_1.gra").size(), 1);
  EXPECT_EQ(fileLines(c.LogPath).size(), 1);
}

TEST_F(Recording, ARunNotSeenToEndGoesOnInItsFileAfterARestart) {
  measure(10);
  const double start = now;
  const QString path = ChannelData[0].LogPath;
  measure(20, kChannel1Runs, 60);
  restart();
  measure(30, kChannel1Runs, 120);

  const ChannelRecord& c = ChannelData[0];
  EXPECT_EQ(c.LogPath, path);
  EXPECT_EQ(c.StartTime, start);
  ASSERT_EQ(c.Count, 3);
  EXPECT_DOUBLE_EQ(c.Capacity[1], 0.2);  // reloaded from the file
  EXPECT_NEAR(c.Time[2], 3.0, 1e-6);
  const QStringList lines = fileLines(path);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_TRUE(lines[2].startsWith("       3.00;"));
  EXPECT_EQ(started.size(), 2);
  EXPECT_EQ(started[1], started[0]);
  EXPECT_TRUE(ended.isEmpty());
}

TEST_F(Recording, ARestartThatFindsADifferentRunStartsAFreshFile) {
  measure(50);
  const QString first = ChannelData[0].LogPath;
  restart();
  measure(10);  // the counter went back: the charger began anew
  EXPECT_NE(ChannelData[0].LogPath, first);
  EXPECT_EQ(ChannelData[0].Count, 1);
  EXPECT_EQ(fileLines(first).size(), 1);
  EXPECT_EQ(note("Run1"), ChannelData[0].LogPath.section(u'/', -1));
}

TEST_F(Recording, ARestartThatFindsTheChannelStoppedClosesTheNote) {
  measure(50);
  restart();
  measure(50, 0);
  EXPECT_EQ(note("Run1Ended"), "1");
  measure(60);  // a later run is a new one, whatever its counter
  EXPECT_EQ(started.size(), 2);
  EXPECT_NE(started[1], started[0]);
}

TEST_F(Recording, AfterAReconnectTheCounterDecidesWhetherTheRunGoesOn) {
  measure(100);
  const QString first = ChannelData[0].LogPath;
  ClosePort();
  openPort();
  measure(110, kChannel1Runs, 300);
  EXPECT_EQ(ChannelData[0].LogPath, first);
  EXPECT_EQ(ChannelData[0].Count, 2);
  EXPECT_TRUE(ended.isEmpty());

  ClosePort();
  openPort();
  measure(5);
  EXPECT_EQ(ended, QStringList{"1 " + first.section(u'/', -1)});
  EXPECT_NE(ChannelData[0].LogPath, first);
  EXPECT_EQ(ChannelData[0].State, kStateRecording);
  EXPECT_EQ(fileLines(first).size(), 2);
}

TEST(SameRun, TimeSinceTheLastSampleAndTheCapacityCounterDecide) {
  const RunTail tail{1000.0, 30.0, 0.50};  // last sample 30 min after the start, 0.5 Ah
  const double lastSample = 1000.0 + 30.0 / 1440;
  struct Case {
    double minutesLater;
    double capacityNow;
    bool same;
  } cases[] = {
      {2, 0.55, true},   {59, 0.50, true}, {0, 0.49, true},  // within the tolerance
      {61, 0.80, false},                                     // too long away
      {2, 0.10, false},                                      // the counter went back
      {2, -0.60, false},                                     // it turned: a discharge now
      {-2, 0.50, false},                                     // the clock went back
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSameRun(tail, lastSample + c.minutesLater / 1440, c.capacityNow), c.same)
        << c.minutesLater << " min later, " << c.capacityNow << " Ah";
  }
  EXPECT_TRUE(IsSameRun({1000.0, 30.0, -0.50}, lastSample, -0.70));
}

TEST_F(Recording, SetPointsAreAbsentAndWatchingOnlyWritesNothing) {
  EXPECT_EQ(ChannelData[0].CurrentSetPoint, kNoSetPoint);
  EXPECT_EQ(ChannelData[1].VoltageSetPoint, kNoSetPoint);
  SetRecordingEnabled(false);
  measure(5);
  SetRecordingEnabled(true);
  EXPECT_TRUE(QDir(GraFolder()).isEmpty());
  EXPECT_TRUE(started.isEmpty());
}

TEST_F(Recording, TheRunEndCommandGetsTheChannelAndTheFile) {
  const QString out = folder.file("ended.txt");
  const QString script = folder.file("ended.sh");
  WriteAll(script, "printf '%s %s' \"$2\" \"$3\" > \"$1.txt\"\n");
  Settings.OnRunEnd = "sh " + script + " " + folder.file("ended");
  measure(5);
  measure(5, 0);
  ASSERT_TRUE(WaitFor([&] { return QFile(out).size() > 0; }, 5000));
  EXPECT_EQ(QString::fromUtf8(ReadAll(out)), "1 " + ChannelData[0].LogPath);
}

}  // namespace
