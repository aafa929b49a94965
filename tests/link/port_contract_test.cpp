// What the protocol relies on from a port, checked against the scripted fake
// the other tests use and against the real serial port on a pseudo-terminal,
// so that the fake cannot drift from the real thing.
#include <gtest/gtest.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <type_traits>

#include "link/serial_port.h"
#include "tests/support/fake_port.h"

using namespace qv;

namespace {

constexpr PortTimeouts kTimeouts{40, 20};
// Longer than the interval time-out: it ends a read on a real line.
constexpr auto kPause = std::chrono::milliseconds(kTimeouts.readInterval * 10);

// The scripted port: the peer's bytes are chunks a read takes one at a time.
class FakeHarness {
 public:
  FakeHarness() : port_(CreateSerialPort()) { (void)port_->open(QStringLiteral("/dev/fake")); }

  SerialPortIo& port() { return *port_; }
  void send(const QByteArray& bytes) { fake_.arrive(bytes); }
  // The first burst is in before the read begins, the second after a pause.
  void sendInTwoBursts(const QByteArray& first, const QByteArray& second) {
    fake_.arrive(first);
    fake_.arrive(second);
  }
  void finishBursts() {}
  QByteArray written() const { return fake_.writes.isEmpty() ? QByteArray() : fake_.writes.last(); }
  void vanish() { fake_.fail.readError = true; }

 private:
  FakePort fake_;
  std::unique_ptr<SerialPortIo> port_;
};

// The real serial port on one end of a pseudo-terminal, the test on the other.
class PtyHarness {
 public:
  PtyHarness() {
    char name[128] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
      return;
    termios raw{};
    tcgetattr(slave_, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave_, TCSANOW, &raw);
    port_ = CreateSerialPort();
    if (port_->open(QString::fromLatin1(name)))
      (void)port_->applyLineSettings(38400);
  }
  ~PtyHarness() {
    finishBursts();
    port_->close();
    closeEnds();
  }

  SerialPortIo& port() { return *port_; }
  void send(const QByteArray& bytes) const {
    EXPECT_EQ(::write(master_, bytes.constData(), bytes.size()), bytes.size());
  }
  void sendInTwoBursts(const QByteArray& first, const QByteArray& second) {
    send(first);
    peer_ = std::thread([this, second] {
      std::this_thread::sleep_for(kPause);
      send(second);
    });
  }
  void finishBursts() {
    if (peer_.joinable())
      peer_.join();
  }
  QByteArray written() const {
    char bytes[64] = {};
    const ssize_t n = ::read(master_, bytes, sizeof bytes);
    return QByteArray(bytes, n > 0 ? static_cast<int>(n) : 0);
  }
  void vanish() { closeEnds(); }

 private:
  void closeEnds() {
    for (int* fd : {&master_, &slave_}) {
      if (*fd >= 0)
        ::close(*fd);
      *fd = -1;
    }
  }

  int master_ = -1;
  int slave_ = -1;
  std::thread peer_;
  std::unique_ptr<SerialPortIo> port_;
};

template <typename Harness>
class PortContract : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(harness.port().applyTimeouts(kTimeouts)); }

  int read(int count) { return harness.port().read(buffer, count); }
  QByteArray got(int count) const {
    return QByteArray(reinterpret_cast<const char*>(buffer), count);
  }

  Harness harness;
  uint8_t buffer[128] = {};
};

using Harnesses = ::testing::Types<FakeHarness, PtyHarness>;
struct HarnessNames {
  template <typename Harness>
  static std::string GetName(int) {
    return std::is_same_v<Harness, FakeHarness> ? "FakePort" : "RealPortOnPty";
  }
};
TYPED_TEST_SUITE(PortContract, Harnesses, HarnessNames);

TYPED_TEST(PortContract, AReadTakesTheCountAndLeavesTheRest) {
  this->harness.send("0123456789");
  ASSERT_EQ(this->read(4), 4);
  EXPECT_EQ(this->got(4), "0123");
  ASSERT_EQ(this->read(10), 6);
  EXPECT_EQ(this->got(6), "456789");
}

TYPED_TEST(PortContract, APauseEndsARead) {
  this->harness.sendInTwoBursts("abc", "late");
  ASSERT_EQ(this->read(50), 3);
  EXPECT_EQ(this->got(3), "abc");
  this->harness.finishBursts();
  ASSERT_EQ(this->read(50), 4);
  EXPECT_EQ(this->got(4), "late");
}

TYPED_TEST(PortContract, SilenceReadsNothing) {
  EXPECT_EQ(this->read(5), 0);
}

TYPED_TEST(PortContract, PurgeDropsWhatWaits) {
  this->harness.send("stale");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_TRUE(this->harness.port().purge());
  EXPECT_EQ(this->read(5), 0);
  this->harness.send("ok");
  ASSERT_EQ(this->read(2), 2);
  EXPECT_EQ(this->got(2), "ok");
}

TYPED_TEST(PortContract, AWriteReachesThePeer) {
  const uint8_t request[5] = {0x5A, 0, 0, 0x40, 0x6E};
  ASSERT_TRUE(this->harness.port().write(request, 5));
  EXPECT_EQ(this->harness.written(), QByteArray::fromHex("5A0000406E"));
}

TYPED_TEST(PortContract, AVanishedPeerIsAnError) {
  this->harness.vanish();
  EXPECT_EQ(this->read(10), -1);
}

}  // namespace
