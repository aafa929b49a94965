#include "link/serial_port.h"

#include <termios.h>
#include <QElapsedTimer>
#include <QSerialPort>

#include <algorithm>

#include "common/host.h"

namespace qv {

namespace {

class QtSerialPort final : public SerialPortIo {
 public:
  bool open(const QString& device) override {
    port_.setPortName(device);
    return port_.open(QIODevice::ReadWrite);
  }

  QString errorText() const override { return port_.errorString(); }

  bool readLineSettings() override {
    haveSaved_ = tcgetattr(static_cast<int>(port_.handle()), &saved_) == 0;
    return haveSaved_;
  }

  // The time-outs are this object's own; there is nothing to read back.
  bool readTimeouts() override { return true; }

  bool applyLineSettings(int baud) override {
    return port_.setBaudRate(baud) && port_.setDataBits(QSerialPort::Data8) &&
           port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop) &&
           port_.setFlowControl(QSerialPort::NoFlowControl);
  }

  bool applyTimeouts(const PortTimeouts& timeouts) override {
    timeouts_ = timeouts;
    return timeouts.readInterval >= 0 && timeouts.readTotalPerByte >= 0;
  }

  void restoreSettings() override {
    if (haveSaved_)
      tcsetattr(static_cast<int>(port_.handle()), TCSANOW, &saved_);
  }

  void close() override { port_.close(); }

  bool purge() override { return port_.clear(QSerialPort::AllDirections); }

  bool write(const uint8_t* bytes, int count) override {
    if (port_.write(reinterpret_cast<const char*>(bytes), count) != count)
      return false;
    while (port_.bytesToWrite() > 0) {
      if (!port_.waitForBytesWritten(kWriteWaitMs))
        return false;
    }
    return true;
  }

  int read(uint8_t* bytes, int count) override {
    QElapsedTimer clock;
    clock.start();
    const qint64 total = static_cast<qint64>(count) * timeouts_.readTotalPerByte;
    qint64 lastByteAt = -1;
    int got = 0;
    while (got < count) {
      if (port_.bytesAvailable() > 0) {
        const qint64 n = port_.read(reinterpret_cast<char*>(bytes) + got, count - got);
        if (n < 0)
          return -1;
        got += static_cast<int>(n);
        lastByteAt = clock.elapsed();
        continue;
      }
      const qint64 now = clock.elapsed();
      qint64 wait = total - now;
      if (lastByteAt >= 0)
        wait = std::min(wait, lastByteAt + timeouts_.readInterval - now);
      if (wait <= 0)
        break;
      if (!port_.waitForReadyRead(static_cast<int>(wait))) {
        if (port_.error() != QSerialPort::TimeoutError)
          return -1;
        port_.clearError();
      }
    }
    return got;
  }

 private:
  static constexpr int kWriteWaitMs = 5000;
  QSerialPort port_;
  termios saved_{};
  bool haveSaved_ = false;
  PortTimeouts timeouts_;
};

}  // namespace

std::unique_ptr<SerialPortIo> CreateSerialPort() {
  if (std::unique_ptr<SerialPortIo> port = CurrentHost().makeSerialPort())
    return port;
  return std::make_unique<QtSerialPort>();
}

}  // namespace qv
