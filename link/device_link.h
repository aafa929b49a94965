#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "common/commands.h"
#include "link/serial_port.h"

namespace qv {

// The one serial connection with the charger: port state, the request and
// reply frames shared by the whole process, and the traffic counters.
struct DeviceLinkRecord {
  bool PortOpen = false;
  std::unique_ptr<SerialPortIo> Port;
  int LineSettingsBaud = 0;  // the speed applied at the last open
  PortTimeouts Timeouts;
  int ChosenPort = 0;        // the port dialog's answer, 0 for none
  QString LastPortError;     // why the last open failed, for the command line
  bool DemoCharger = false;  // the open port is the built-in demo charger
  int Opens = 0;             // successful opens so far: tells a reopened link
  int BackgroundHolds = 0;   // see BackgroundHold

  uint8_t Request[kFrameSize] = {};
  uint8_t RequestLength = 0;
  uint8_t Reply[kFrameSize] = {};
  uint8_t ReplyLength = 0;

  int BytesSent = 0;
  int BytesReceived = 0;
  int Retries = 0;
};

extern DeviceLinkRecord DeviceLink;

void ResetLinkCounters();

// Background exchanges (the measurement polling) wait while one of these
// lives: a memory read, a modal dialog or a question to the user.
class BackgroundHold {
 public:
  BackgroundHold() { ++DeviceLink.BackgroundHolds; }
  ~BackgroundHold() { --DeviceLink.BackgroundHolds; }
  BackgroundHold(const BackgroundHold&) = delete;
  BackgroundHold& operator=(const BackgroundHold&) = delete;
};

inline bool BackgroundHeld() {
  return DeviceLink.BackgroundHolds > 0;
}

}  // namespace qv
