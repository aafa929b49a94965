// Polling and recording over a pseudo-terminal against the charger simulator:
// runs that the charger starts and ends, a charger that goes silent or away
// and comes back, and a memory read in the middle of the polling.
#include <gtest/gtest.h>
#include <signal.h>
#include <QCoreApplication>
#include <QRegularExpression>

#include "acquisition/polling.h"
#include "acquisition/query.h"
#include "acquisition/recording.h"
#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "tests/support/sim_link_fixture.h"
#include "tests/support/test_host.h"
#include "tests/support/wait.h"

using namespace qv;

namespace {

constexpr int kWaitMs = 15000;

class LiveOperation : public SimLinkTest {
 protected:
  // The charger on COM1 identified, then polled every intervalMs.
  void startPolling(int intervalMs) {
    InitRecording();
    TestHost().onRunStarted = [this](int, const QString& path) { runFiles << path; };
    ASSERT_TRUE(IdentifyCharger());
    QObject::connect(&poller, &Poller::polled, [this] { states << ChannelData[0].State; });
    poller.setInterval(intervalMs);
    poller.setReconnectPauses(300, 1000);
    TestHost().reopenPort = [] { return OpenPortQuietly(1, Settings.COMSpeed); };
    poller.start();
  }

  void TearDown() override {
    poller.stop();
    TestHost().onMemoryReadBlock = {};
    SimLinkTest::TearDown();
  }

  bool waitFor(const std::function<bool()>& condition) { return WaitFor(condition, kWaitMs); }

  // OK on the simulator's first menu item starts channel 1, or stops it.
  void pressOk() {
    QueryDevice(U_OK);
    ASSERT_TRUE(DeviceLink.PortOpen);
  }

  static int lineCount(const QString& path) {
    return static_cast<int>(ReadAll(path).count("\r\n"));
  }

  Poller poller;
  QList<int> states;
  QStringList runFiles;
};

TEST_F(LiveOperation, PollingRecordsEveryRunTheChargerStartsAndEnds) {
  start();
  startPolling(1000);
  poller.poll();
  const ChannelRecord& c = ChannelData[0];
  for (int run = 0; run < 2; ++run) {
    pressOk();
    ASSERT_TRUE(waitFor([&] { return c.State == kStateRecording && c.Count >= 2; }));
    pressOk();
    ASSERT_TRUE(waitFor([&] { return c.State == kStateEnded; }));
    ASSERT_EQ(runFiles.size(), run + 1);
    EXPECT_EQ(lineCount(c.LogPath), c.Count);
    EXPECT_TRUE(ReadAll(c.LogPath).startsWith("       0.00;"));
  }
  EXPECT_NE(runFiles[0], runFiles[1]);
  const QRegularExpression name(QStringLiteral("/GRA/\\d{8}_\\d{6}_1(_2)?\\.gra$"));
  for (const QString& path : runFiles)
    EXPECT_TRUE(name.match(path).hasMatch()) << path.toStdString();
  states.removeIf([](int s) { return s == kStateRecording; });
  EXPECT_EQ(states.first(), kStateIdle);
  EXPECT_TRUE(states.contains(kStateEnded));
  EXPECT_EQ(ChannelData[1].State, kStateIdle);
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

TEST_F(LiveOperation, ASilentChargerIsReconnectedAndItsRunGoesOnInTheSameFile) {
  start({"--start", "1"});
  startPolling(200);
  const ChannelRecord& c = ChannelData[0];
  ASSERT_TRUE(waitFor([&] { return c.Count >= 3; }));
  const QString file = c.LogPath;
  ::kill(static_cast<pid_t>(sim->processId()), SIGSTOP);  // the cable is pulled
  ASSERT_TRUE(waitFor([&] { return poller.reconnecting(); }));
  EXPECT_FALSE(DeviceLink.PortOpen);
  ::kill(static_cast<pid_t>(sim->processId()), SIGCONT);
  const int before = c.Count;
  ASSERT_TRUE(waitFor([&] { return !poller.reconnecting() && c.Count >= before + 3; }));
  EXPECT_EQ(c.LogPath, file);
  EXPECT_EQ(runFiles, QStringList{file});
  EXPECT_EQ(lineCount(file), c.Count);
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
  EXPECT_TRUE(logLines().contains("Timeout!"));
}

TEST_F(LiveOperation, AChargerThatWentAwayIsFoundAgainUnderTheSameLink) {
  const QString link = folder.file("by-id-charger");
  start({"--link", link, "--start", "1"});
  ClosePort();
  Settings.PortPaths.insert(1, link);
  ASSERT_TRUE(OpenPort(1, Settings.COMSpeed));
  startPolling(200);
  ASSERT_TRUE(waitFor([] { return ChannelData[0].Count >= 2; }));
  sim->stop();  // unplugged: the device and its link are gone
  ASSERT_TRUE(waitFor([&] { return poller.reconnecting(); }));
  sim = std::make_unique<SimProcess>(QStringList{"--link", link});
  ASSERT_TRUE(sim->start());
  ASSERT_TRUE(waitFor([&] { return DeviceLink.PortOpen && !poller.reconnecting(); }));
  // The charger came back idle: the run it had is over.
  ASSERT_TRUE(waitFor([] { return ChannelData[0].State == kStateEnded; }));
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

TEST_F(LiveOperation, AMemoryReadPausesThePollingWhichGoesOnAfterIt) {
  start();
  startPolling(50);
  ASSERT_TRUE(waitFor([&] { return states.size() >= 2; }));
  TestHost().onMemoryReadBlock = [] { QCoreApplication::processEvents(); };
  ASSERT_TRUE(ReadMemory(0x4000, 0x400, kMemoryBlock));
  EXPECT_EQ(MemoryImage.FailedBlocks, 0);
  const int polledBefore = static_cast<int>(states.size());
  ASSERT_TRUE(waitFor([&] { return states.size() >= polledBefore + 2; }));

  const QStringList log = logLines();
  const auto firstRead = log.indexOf(QRegularExpression("U_ReadMemory.*"));
  const auto lastRead = log.lastIndexOf(QRegularExpression("U_ReadMemory.*"));
  ASSERT_GE(firstRead, 0);
  EXPECT_EQ(log.mid(firstRead, lastRead - firstRead).filter("U_GiveMeADC"), QStringList{});
  EXPECT_FALSE(log.mid(lastRead).filter("U_GiveMeADC").isEmpty());
}

}  // namespace
