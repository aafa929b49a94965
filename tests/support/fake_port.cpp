#include "tests/support/fake_port.h"

#include <cstring>

#include "common/crc8.h"
#include "tests/support/test_host.h"

using namespace qv;

class FakePort::Io final : public SerialPortIo {
 public:
  explicit Io(FakePort& owner) : owner_(owner) {}

  bool open(const QString& device) override {
    owner_.openedDevice = device;
    ++owner_.opens;
    return !owner_.fail.open;
  }
  QString errorText() const override { return QStringLiteral("fake failure"); }
  bool readLineSettings() override { return !owner_.fail.readLineSettings; }
  bool readTimeouts() override { return !owner_.fail.readTimeouts; }
  bool applyLineSettings(int baud) override {
    owner_.appliedBaud = baud;
    return !owner_.fail.applyLineSettings;
  }
  bool applyTimeouts(const PortTimeouts& timeouts) override {
    owner_.appliedTimeouts = timeouts;
    return !owner_.fail.applyTimeouts;
  }
  void restoreSettings() override { ++owner_.restores; }
  void close() override { ++owner_.closes; }
  bool purge() override {
    ++owner_.purges;
    owner_.pending_.clear();
    return !owner_.fail.purge;
  }
  bool write(const uint8_t* bytes, int count) override {
    const QByteArray request(reinterpret_cast<const char*>(bytes), count);
    owner_.writes << request;
    if (owner_.responder) {
      for (const QByteArray& chunk : owner_.responder(request))
        owner_.pending_.push_back(chunk);
    }
    return !owner_.fail.write;
  }
  int read(uint8_t* bytes, int count) override {
    ++owner_.reads;
    if (owner_.fail.readError)
      return -1;
    if (owner_.pending_.empty())
      return 0;
    QByteArray& chunk = owner_.pending_.front();
    const int n = std::min<int>(count, static_cast<int>(chunk.size()));
    std::memcpy(bytes, chunk.constData(), n);
    chunk.remove(0, n);
    if (chunk.isEmpty())
      owner_.pending_.pop_front();
    return n;
  }

 private:
  FakePort& owner_;
};

FakePort::FakePort() {
  TestHost().serialPort = [this] { return std::make_unique<Io>(*this); };
}

FakePort::~FakePort() {
  TestHost().serialPort = nullptr;
}

QByteArray Frame(uint8_t code, const QByteArray& payload) {
  QByteArray frame;
  frame.append(static_cast<char>(code));
  frame.append(payload);
  frame.append(
      static_cast<char>(Crc8(reinterpret_cast<const uint8_t*>(frame.constData()), frame.size())));
  return frame;
}

QByteArray BadFrame(uint8_t code, const QByteArray& payload) {
  QByteArray frame = Frame(code, payload);
  frame[frame.size() - 1] = static_cast<char>(frame.back() ^ 0x5A);
  return frame;
}
