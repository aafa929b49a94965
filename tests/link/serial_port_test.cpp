// The QSerialPort layer on a pseudo-terminal: the read time-outs as the
// protocol relies on them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>
#include <QElapsedTimer>

#include <thread>

#include "link/serial_port.h"

using namespace qv;

namespace {

class PtySerialPort : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[128] = {};
    ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    port = CreateSerialPort();
    ASSERT_TRUE(port->open(QString::fromLatin1(name))) << port->errorText().toStdString();
    ASSERT_TRUE(port->readLineSettings());
    ASSERT_TRUE(port->applyLineSettings(38400));
    ASSERT_TRUE(port->applyTimeouts({kInterval, kPerByte}));
  }

  void TearDown() override {
    if (port)
      port->close();
    if (master >= 0)
      close(master);
    if (slave >= 0)
      close(slave);
  }

  void send(const QByteArray& bytes) const {
    ASSERT_EQ(write(master, bytes.constData(), bytes.size()), bytes.size());
  }

  static constexpr int kInterval = 40;
  static constexpr int kPerByte = 30;
  int master = -1;
  int slave = -1;
  std::unique_ptr<SerialPortIo> port;
  uint8_t buffer[256] = {};
};

TEST_F(PtySerialPort, ReturnsAsSoonAsTheCountIsIn) {
  send("0123456789");
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(port->read(buffer, 10), 10);
  EXPECT_LT(clock.elapsed(), 10 * kPerByte);  // not held to the total time-out
  EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 10), "0123456789");
}

TEST_F(PtySerialPort, APauseLongerThanTheIntervalEndsTheRead) {
  std::thread charger([this] {
    send("abc");
    std::this_thread::sleep_for(std::chrono::milliseconds(kInterval * 12));
    send("late");
  });
  QElapsedTimer clock;
  clock.start();
  const int got = port->read(buffer, 50);
  const qint64 ms = clock.elapsed();
  charger.join();
  EXPECT_EQ(got, 3);
  EXPECT_GE(ms, kInterval - 5);
  EXPECT_LT(ms, kInterval * 12);
}

TEST_F(PtySerialPort, SilenceEndsAfterTheTotalTimeout) {
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(port->read(buffer, 4), 0);
  EXPECT_GE(clock.elapsed(), 4 * kPerByte - 5);
}

TEST_F(PtySerialPort, TrickleStopsAtTheTotalTimeout) {
  // A byte every 30 ms never trips a 100 ms interval; the total of
  // 20 x 10 ms ends the read with what came.
  ASSERT_TRUE(port->applyTimeouts({100, 10}));
  std::atomic<bool> stop = false;
  std::thread charger([&] {
    while (!stop) {
      send("x");
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
    }
  });
  QElapsedTimer clock;
  clock.start();
  const int got = port->read(buffer, 20);
  const qint64 ms = clock.elapsed();
  stop = true;
  charger.join();
  EXPECT_GE(got, 2);
  EXPECT_LT(got, 20);
  EXPECT_GE(ms, 20 * 10 - 5);
  EXPECT_LT(ms, 20 * 30);
}

TEST_F(PtySerialPort, PurgeDropsWhatWaits) {
  send("stale");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_TRUE(port->purge());
  send("ok");
  EXPECT_EQ(port->read(buffer, 2), 2);
  EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buffer), 2), "ok");
}

TEST_F(PtySerialPort, WritesReachTheOtherSide) {
  const uint8_t request[5] = {0x5A, 0, 0, 0x40, 0x6E};
  EXPECT_TRUE(port->write(request, 5));
  char got[5] = {};
  ASSERT_EQ(read(master, got, 5), 5);
  EXPECT_EQ(QByteArray(got, 5), QByteArray::fromHex("5A0000406E"));
}

TEST_F(PtySerialPort, VanishedDeviceIsAnError) {
  close(master);
  master = -1;
  close(slave);
  slave = -1;
  EXPECT_EQ(port->read(buffer, 10), -1);
}

}  // namespace
