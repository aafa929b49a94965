#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cstdio>

#include "sim/memory_image.h"
#include "tests/sim/sim_test_util.h"
#include "tests/support/sim_process.h"

using namespace qv;

namespace {

// A client of the simulator with nothing but termios and read/write.
class Port {
 public:
  explicit Port(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd_ < 0)
      return;
    termios t = {};
    ::tcgetattr(fd_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd_, TCSANOW, &t);
  }
  ~Port() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  bool isOpen() const { return fd_ >= 0; }
  bool isTty() const { return ::isatty(fd_) == 1; }
  void makeExclusive() { ::ioctl(fd_, TIOCEXCL); }
  bool exclusive() const {
    int value = 0;
    ::ioctl(fd_, TIOCGEXCL, &value);
    return value != 0;
  }

  // Writes the request and reads until count bytes are in or the line has
  // been quiet for quietMs.
  QByteArray exchange(const QByteArray& request, int count, int quietMs = 500) {
    ::tcflush(fd_, TCIOFLUSH);
    if (::write(fd_, request.constData(), request.size()) != request.size())
      return {};
    return read(count, quietMs);
  }

  QByteArray read(int count, int quietMs) {
    QByteArray reply;
    while (reply.size() < count) {
      pollfd p = {fd_, POLLIN, 0};
      if (::poll(&p, 1, quietMs) <= 0)
        break;
      char buffer[256];
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      if (n <= 0)
        break;
      reply.append(buffer, n);
    }
    return reply;
  }

 private:
  int fd_ = -1;
};

const QByteArray kVersionRequest = Bytes({135});
const QByteArray kVersionReply = Framed(Bytes({135}) + QByteArray("QV V2.3Z"));

TEST(SimPty, ServesTheDeviceAndItsLinkUntilStopped) {
  QTemporaryDir dir;
  const QString link = dir.filePath(QStringLiteral("ttyQV"));
  SimProcess simulator({"--quiet", "--link", link});
  ASSERT_TRUE(simulator.start());
  EXPECT_TRUE(simulator.devicePath().startsWith(QStringLiteral("/dev/")));
  const QFileInfo info(link);
  ASSERT_TRUE(info.isSymLink());
  EXPECT_EQ(info.symLinkTarget(), simulator.devicePath());

  {
    Port port(link);
    ASSERT_TRUE(port.isOpen());
    EXPECT_TRUE(port.isTty());
    EXPECT_EQ(port.exchange(kVersionRequest, 10), kVersionReply);
    const QByteArray block = port.exchange(Bytes({0x5A, 0x00, 0x40, 0x40}), 69, 300);
    EXPECT_EQ(block, Bytes({240})) << "incomplete frame answered after the gap";
  }
  // Closing and reopening the port must not upset the simulator.
  {
    Port port(simulator.devicePath());
    ASSERT_TRUE(port.isOpen());
    const QByteArray block = port.exchange(ReadRequest(0x4000, 64), 69);
    ASSERT_EQ(block.size(), 69);
    EXPECT_EQ(block.mid(4, 64), sim::SyntheticMemoryImage().mid(0x4000, 64));
    EXPECT_TRUE(ChecksumHolds(block));
    // CR, LF and control codes pass untranslated both ways.
    EXPECT_EQ(port.exchange(Bytes({0x0D}), 1), Bytes({240}));
  }

  const QMap<QString, qint64> statistics = simulator.stop();
  EXPECT_EQ(statistics.value("requests"), 4);
  EXPECT_EQ(statistics.value("replies"), 4);
  EXPECT_EQ(statistics.value("requests.incomplete"), 1);
  EXPECT_EQ(statistics.value("requests.unknown"), 1);
  EXPECT_EQ(statistics.value("bytes.received"), 1 + 4 + 5 + 1);
  EXPECT_EQ(statistics.value("bytes.sent"), 10 + 1 + 69 + 1);
  EXPECT_EQ(statistics.value("fault.silence", -1), 0);
  EXPECT_EQ(statistics.value("port.opens"), 2);
  EXPECT_FALSE(QFileInfo(link).isSymLink()) << "the link goes with the simulator";
}

TEST(SimPty, FaultsReachTheWireAndAreCounted) {
  struct Case {
    const char* fault;
    const char* key;
    QByteArray expected;
  } cases[] = {
      {"nak=1", "fault.nak", Bytes({240})},
      {"silence=1", "fault.silence", QByteArray()},
  };
  for (const Case& c : cases) {
    SimProcess simulator({"--quiet", "--random", "5", "--fault", c.fault});
    ASSERT_TRUE(simulator.start());
    Port port(simulator.devicePath());
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(port.exchange(kVersionRequest, 10, 200), c.expected) << c.fault;
    const QMap<QString, qint64> statistics = simulator.stop();
    EXPECT_EQ(statistics.value(c.key), 3) << c.fault;
    EXPECT_EQ(statistics.value("random"), 5);
  }
}

TEST(SimPty, ClientDyingWithThePortOpenDoesNotLockOthersOut) {
  SimProcess simulator({"--quiet"});
  ASSERT_TRUE(simulator.start());
  {
    // Like a serial library that takes the port exclusively and is killed
    // before it can give it back.
    Port client(simulator.devicePath());
    client.makeExclusive();
    ASSERT_TRUE(client.exclusive());
  }
  bool exclusive = true;
  for (int i = 0; i < 100 && exclusive; ++i) {
    Port probe(simulator.devicePath());
    exclusive = probe.exclusive();
    if (exclusive)
      ::usleep(10000);
  }
  EXPECT_FALSE(exclusive);
  Port next(simulator.devicePath());
  EXPECT_EQ(next.exchange(kVersionRequest, 10), kVersionReply);
  EXPECT_GE(simulator.stop().value("port.opens"), 3);
}

TEST(SimPty, FloodSendsWithoutPauseAndNeverAnswers) {
  SimProcess simulator({"--quiet", "--flood"});
  ASSERT_TRUE(simulator.start());
  Port port(simulator.devicePath());
  // Far more than the terminal buffers: it keeps coming as it is read.
  const QByteArray unasked = port.read(64 * 1024, 500);
  EXPECT_GE(unasked.size(), 64 * 1024);
  EXPECT_GT(QSet<char>(unasked.begin(), unasked.end()).size(), 200) << "random bytes";
  const QByteArray afterRequest = port.exchange(kVersionRequest, 4096, 500);
  EXPECT_GE(afterRequest.size(), 4096);
  EXPECT_FALSE(afterRequest.startsWith(kVersionReply));
  const QMap<QString, qint64> statistics = simulator.stop();
  EXPECT_EQ(statistics.value("requests"), 1);
  EXPECT_EQ(statistics.value("replies"), 0);
  EXPECT_GE(statistics.value("bytes.sent"), 64 * 1024 + 4096);
}

// Reads count blocks of 64 bytes and returns the seconds it took.
double timedRead(Port& port, int count, QByteArray* data) {
  QElapsedTimer timer;
  timer.start();
  for (int b = 0; b < count; ++b)
    data->append(port.exchange(ReadRequest(b * 64, 64), 69).mid(4, 64));
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

TEST(SimPty, WireEmulationPacesRequestAndReply) {
  constexpr int kBaud = 38400;
  constexpr int kBlocks = 48;
  SimProcess simulator({"--quiet", "--baud", QString::number(kBaud)});
  ASSERT_TRUE(simulator.start());
  Port port(simulator.devicePath());
  QByteArray data;
  const double seconds = timedRead(port, kBlocks, &data);
  const double minimum = kBlocks * 74 * 10.0 / kBaud;
  std::printf("%d blocks at %d baud: %.3f s, wire minimum %.3f s, ratio %.3f\n", kBlocks, kBaud,
              seconds, minimum, seconds / minimum);
  EXPECT_EQ(data, sim::SyntheticMemoryImage().left(kBlocks * 64));
  EXPECT_GE(seconds, 0.99 * minimum) << "faster than the wire";
  EXPECT_LT(seconds, 3 * minimum + 1.0);
}

}  // namespace
