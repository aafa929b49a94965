#pragma once

#include <QString>
#include <cstdint>

namespace qv {

// Read time-outs in milliseconds: a read of k bytes returns when k bytes are
// in, when more than readInterval passes between two bytes, or after
// k * readTotalPerByte at the latest.
struct PortTimeouts {
  int readInterval = 0;
  int readTotalPerByte = 0;
};

// The serial device as the protocol needs it. The program uses QSerialPort;
// tests put scripted fakes behind it.
class SerialPortIo {
 public:
  virtual ~SerialPortIo() = default;
  // Exclusive read/write on an existing device.
  [[nodiscard]] virtual bool open(const QString& device) = 0;
  virtual QString errorText() const = 0;
  // Remember the device's own settings, to be put back by restoreSettings.
  [[nodiscard]] virtual bool readLineSettings() = 0;
  [[nodiscard]] virtual bool readTimeouts() = 0;
  // The given speed, 8 data bits, no parity, 1 stop bit, raw, no flow control.
  [[nodiscard]] virtual bool applyLineSettings(int baud) = 0;
  [[nodiscard]] virtual bool applyTimeouts(const PortTimeouts& timeouts) = 0;
  virtual void restoreSettings() = 0;
  virtual void close() = 0;
  [[nodiscard]] virtual bool purge() = 0;
  // Waits until the bytes are written; false on a device error.
  [[nodiscard]] virtual bool write(const uint8_t* bytes, int count) = 0;
  // Up to count bytes under the read time-outs; -1 on a device error.
  [[nodiscard]] virtual int read(uint8_t* bytes, int count) = 0;
};

}  // namespace qv
