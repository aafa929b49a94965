#pragma once

#include <QString>
#include <cstdint>
#include <memory>

#include "common/commands.h"
#include "link/serial_port.h"

// The one serial connection with the charger: port state, the request and
// reply frames shared by the whole process, and the traffic counters.
struct DeviceLinkRecord {
  bool PortOpen = false;
  std::unique_ptr<SerialPortIo> Port;
  int LineSettingsBaud = 0;  // the speed applied at the last open
  PortTimeouts Timeouts;
  int ChosenPort = 0;     // the port dialog's answer, 0 for none
  QString LastPortError;  // why the last open failed, for the command line

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
