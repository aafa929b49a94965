#pragma once

#include <QString>
#include <cstdint>

namespace qv {

// Sends a single-byte command and applies the reply to the shared state. A
// failed exchange closes the port; a call while another runs does nothing.
void QueryDevice(uint8_t code);

// Applies the reply in Reply by its own code (display, version, measurements).
void ApplyReply(double now);
void ApplyDisplayReply();
void ApplyVersionReply();
void ApplyMeasurementReply(double now);

// Values of the measurement reply in Reply for channel 0 or 1.
bool ReplyChannelRunning(int channel);
double ReplyCapacity(int channel);

// True when the text names a firmware version this program supports.
bool IsSupportedVersion(const QString& versionText);
uint8_t RemapDisplayChar(uint8_t code);

// The four state letters of a channel (0 or 1) from the status bits, "W.LV".
QString StateLetters(uint8_t statusBits, int channel);

}  // namespace qv
