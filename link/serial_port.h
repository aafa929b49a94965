#pragma once

#include <QString>
#include <memory>

#include "common/port_io.h"

namespace qv {

// A port with no device behind it (the built-in demo charger, fuzzing):
// opening and setting it up always succeed.
class DevicelessPort : public SerialPortIo {
 public:
  bool open(const QString&) override { return true; }
  QString errorText() const override { return {}; }
  bool readLineSettings() override { return true; }
  bool readTimeouts() override { return true; }
  bool applyLineSettings(int) override { return true; }
  bool applyTimeouts(const PortTimeouts&) override { return true; }
  void restoreSettings() override {}
  void close() override {}
};

// Creates the port object for OpenPort: the host's (the demo charger, a test's
// fake), else the system's serial port.
std::unique_ptr<SerialPortIo> CreateSerialPort();

}  // namespace qv
