// A serial device that goes away in the middle of an exchange or a memory
// read, and one that floods bytes without pause: the program must end each
// command within its time-outs, keep what it had read, and say so.
#include <signal.h>

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "acquisition/query.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/commands.h"
#include "common/cp1251.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "sim/memory_image.h"
#include "tests/support/sim_link_fixture.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

constexpr uint8_t kUntouched = 0xEE;

class HostileDevice : public SimLinkTest {
 protected:
  HostileDevice() { answer = true; }
  void start(const QStringList& simArguments) {
    SimLinkTest::start(simArguments);
    std::memset(MemoryImage.Bytes, kUntouched, sizeof MemoryImage.Bytes);
  }

  void TearDown() override {
    TestHost().onMemoryReadBlock = {};
    SimLinkTest::TearDown();
  }

  // The simulator dies as a crashed program would: its side of the
  // pseudo-terminal closes and the device disappears.
  void killSimulator() { ::kill(static_cast<pid_t>(sim->processId()), SIGKILL); }

  QByteArray image(int from, int count) const {
    return QByteArray(reinterpret_cast<const char*>(MemoryImage.Bytes) + from, count);
  }
};

TEST_F(HostileDevice, VanishingInTheMiddleOfAnExchange) {
  // The reply would come after 5 s; the device goes after 0.3 s.
  start({"--quiet", "--fault", "delay=1", "--delay-ms", "5000"});
  std::thread killer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    killSimulator();
  });
  QElapsedTimer clock;
  clock.start();
  QueryDevice(U_GiveMeScr);
  const qint64 ms = clock.elapsed();
  killer.join();
  std::printf("screen request with the device gone after 300 ms: %lld ms\n",
              static_cast<long long>(ms));
  EXPECT_FALSE(DeviceLink.PortOpen);  // a failed exchange closes the port
  EXPECT_EQ(logLines().last(), "Произошла ошибка при посылке команды!!!");
  // Asking again finds no device, and says so.
  messages.clear();
  QueryDevice(U_GiveMeScr);
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(messages, (QStringList{"Не могу открыть COM1!", "COM1 не открылся!!!"}));
}

TEST_F(HostileDevice, VanishingDuringAMemoryReadKeepsWhatWasRead) {
  start({"--quiet"});
  constexpr int kBlocksBeforeKill = 40;
  int blocks = 0;
  TestHost().onMemoryReadBlock = [&] {
    if (++blocks == kBlocksBeforeKill)
      killSimulator();
  };
  const MemoryArea& all = kMemoryAreas[3];
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(ReadMemory(all.first, all.end - all.first, kMemoryBlock));
  std::printf("memory read with the device gone after %d blocks: %lld ms\n", kBlocksBeforeKill,
              static_cast<long long>(clock.elapsed()));
  const int total = (all.end - all.first) / kMemoryBlock;
  EXPECT_EQ(MemoryImage.FailedBlocks, total - kBlocksBeforeKill);
  const int good = kBlocksBeforeKill * kMemoryBlock;
  EXPECT_EQ(image(0, good), sim::SyntheticMemoryImage().left(good));
  EXPECT_EQ(image(good, kDumpLength - good), QByteArray(kDumpLength - good, char(kUntouched)));
  EXPECT_EQ(MemoryImage.ReadProgress, 0);
}

// Random bytes may, rarely, form a frame whose checksum holds; what is
// certain is that every command ends and no failed block changes the image.
TEST_F(HostileDevice, FloodEndsEveryCommandAndLeavesTheImage) {
  start({"--quiet", "--flood"});
  QueryDevice(U_WhoAreYou);
  EXPECT_FALSE(ChargerState.DeviceIdentified);
  QueryDevice(U_GiveMeScr);
  Connect();
  const MemoryArea& eeprom = kMemoryAreas[1];
  ASSERT_TRUE(ReadMemory(eeprom.first, eeprom.end - eeprom.first, kMemoryBlock));
  int untouched = 0;
  for (int at = 0; at < kMemoryImageSize; at += kMemoryBlock)
    untouched += image(at, kMemoryBlock) == QByteArray(kMemoryBlock, char(kUntouched)) ? 1 : 0;
  EXPECT_EQ(untouched, kMemoryImageSize / kMemoryBlock - 16 + MemoryImage.FailedBlocks);
  EXPECT_GE(MemoryImage.FailedBlocks, 15);
  EXPECT_GT(sim->stop().value("bytes.sent"), 10000);
}

// qvctl against the same devices: one line and an exit code, in bounded time.
// The simulator paces the wire, so that the memory read is still running when
// the device goes; a device that is gone for good is never opened again,
// since its number may already serve another simulator.
TEST(HostileDeviceQvctl, FloodAndVanishingDevice) {
  TempProgramFolder folder;
  const auto start = [&](const QString& device, const QStringList& arguments) {
    auto qvctl = std::make_unique<QProcess>();
    qvctl->start(QVCTL_PATH, QStringList{"--home", folder.path(), "--port", device} + arguments);
    qvctl->closeWriteChannel();
    return qvctl;
  };
  const auto finish = [](QProcess& qvctl) {
    EXPECT_TRUE(qvctl.waitForFinished(60000));
    const QByteArray err = qvctl.readAllStandardError();
    EXPECT_EQ(err.count('\n'), 1) << err.toStdString();
    return std::make_pair(qvctl.exitCode(), QString::fromUtf8(err));
  };
  {
    SimProcess flood({"--quiet", "--flood"});
    ASSERT_TRUE(flood.start());
    EXPECT_EQ(finish(*start(flood.devicePath(), {"identify"})).first, 2);
    const auto read =
        start(flood.devicePath(), {"read-memory", "eeprom", "--out", folder.file("f.bin")});
    EXPECT_EQ(finish(*read).first, 2);
  }
  SimProcess paced({"--quiet", "--baud", "38400"});
  ASSERT_TRUE(paced.start());
  const auto read =
      start(paced.devicePath(), {"read-memory", "all", "--out", folder.file("a.bin")});
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  ::kill(static_cast<pid_t>(paced.processId()), SIGKILL);
  const auto [code, err] = finish(*read);
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(err.contains("of 304 blocks could not be read")) << err.toStdString();
}

}  // namespace
