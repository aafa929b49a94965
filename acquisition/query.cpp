#include "acquisition/query.h"

#include "acquisition/recording.h"
#include "acquisition/sample_log.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/commands.h"
#include "common/cp1251.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"

namespace qv {

namespace {

constexpr const char* kSupportedVersions[] = {
    "QV V2.0Z", "QV V2.1Z", "QV V2.2Z", "QV V2.3Z", "QV V2.4Z",
    "QV V2.5Z", "QV V1.7Z", "QV VB5Z",  "QV VB6Z",
};

constexpr int kVersionChars = 8;
constexpr int kCursorByte = 81;
constexpr int kStatusByte = 23;
constexpr int kSupplyWord = 13;
constexpr int kHeatsinkWord = 15;
constexpr double kCapacityWrapLimit = 103.0;
constexpr double kCapacityWrap = 655.36;
constexpr double kSecondsPerDay = 24.0 * 60 * 60;
constexpr double kMinRateInterval = 0.01;  // seconds

// Where a channel's values sit in the measurement reply.
struct ChannelWords {
  int current;
  int voltage;
  int temp;
  int capacity;
  uint8_t runningBit;
};

constexpr ChannelWords kChannelWords[2] = {
    {1, 3, 5, 17, 0x80},
    {7, 9, 11, 19, 0x08},
};

double word(int at) {
  return (DeviceLink.Reply[at + 1] * 256 + DeviceLink.Reply[at]) * 0.01;
}

double capacityWord(int at) {
  const double value = word(at);
  return value > kCapacityWrapLimit ? value - kCapacityWrap : value;
}

void endRecording(ChannelRecord& channel) {
  if (channel.State == kStateRecording)
    channel.State = kStateEnded;
  if (channel.State == kStateRecordingOther)
    channel.State = kStateEndedOther;
}

void computeRates(ChannelRecord& c, int k, double dt) {
  c.dIdt[k] = (c.Current[k] - c.Current[k - 1]) / dt;
  c.dVdt[k] = (c.Voltage[k] - c.Voltage[k - 1]) / dt;
  c.dTdt[k] = (c.Temp[k] - c.Temp[k - 1]) / dt;
}

void applyChannel(ChannelRecord& c, const ChannelWords& at, double dt, double now) {
  const int k = c.Count;
  c.Current[k] = word(at.current);
  c.Voltage[k] = word(at.voltage);
  c.Power[k] = c.Current[k] * c.Voltage[k];
  if (c.Current[k] > 0)
    c.Resistance[k] = c.Voltage[k] / c.Current[k];
  c.Temp[k] = word(at.temp);
  c.HeatsinkTemp[k] = word(kHeatsinkWord);
  c.Capacity[k] = capacityWord(at.capacity);
  c.Time[k] = (now - c.StartTime) * kMinutesPerDay;
  c.dIdt[k] = c.dVdt[k] = c.dTdt[k] = 0;
  if ((ChargerState.StatusBits & at.runningBit) == 0)
    return;
  // The last element stays the live one: a full series ends the recording.
  if (k >= kSeriesCapacity - 1) {
    endRecording(c);
    return;
  }
  if (dt > kMinRateInterval && k > 0)
    computeRates(c, k, dt);
  AppendSampleLine(c);
  c.Count = k + 1;
}

}  // namespace

bool ReplyChannelRunning(int channel) {
  return (DeviceLink.Reply[kStatusByte] & kChannelWords[channel].runningBit) != 0;
}

double ReplyCapacity(int channel) {
  return capacityWord(kChannelWords[channel].capacity);
}

bool IsSupportedVersion(const QString& versionText) {
  const QString upper = versionText.toUpper();
  for (const char* version : kSupportedVersions) {
    if (upper.contains(QLatin1String(version)))
      return true;
  }
  return false;
}

uint8_t RemapDisplayChar(uint8_t code) {
  switch (code) {
    case 0x99:
      return 0xF8;
    case 0x92:
      return 0xFD;
    case 0x93:
      return 0x20;
    case 0x86:
      return 0x5F;
    case 0x87:
      return 0x5E;
    default:
      return code;
  }
}

QString StateLetters(uint8_t statusBits, int channel) {
  const unsigned bits = channel == 0 ? statusBits >> 4 : statusBits & 0x0F;
  QString letters;
  letters += (bits & 0x8) ? u'W' : u'.';
  letters += (bits & 0x4) ? u'Z' : u'.';
  letters += (bits & 0x2) ? u'L' : u'.';
  letters += (bits & 0x1) ? u'V' : u'I';
  return letters;
}

void ApplyDisplayReply() {
  ScreenImage.CursorPos = DeviceLink.Reply[kCursorByte];
  for (int i = 0; i < kScreenCells; ++i)
    ScreenImage.Chars[i] = RemapDisplayChar(DeviceLink.Reply[1 + i]);
}

void ApplyVersionReply() {
  ChargerState.VersionText =
      FromCp1251(QByteArray(reinterpret_cast<const char*>(DeviceLink.Reply + 1), kVersionChars));
  if (IsSupportedVersion(ChargerState.VersionText))
    ChargerState.DeviceIdentified = true;
}

void ApplyMeasurementReply(double now) {
  ChargerState.StatusBits = DeviceLink.Reply[kStatusByte];
  const double dt = (now - ChargerState.LastAdcTime) * kSecondsPerDay;
  for (int i = 0; i < 2; ++i)
    applyChannel(ChannelData[i], kChannelWords[i], dt, now);
  ChargerState.SupplyVoltage = word(kSupplyWord);
  for (int i = 0; i < 2; ++i) {
    if ((ChargerState.StatusBits & kChannelWords[i].runningBit) == 0)
      endRecording(ChannelData[i]);
  }
  ChargerState.LastAdcTime = now;
}

void ApplyReply(double now) {
  switch (DeviceLink.Reply[0]) {
    case U_GiveMeScr:
    case U_DOWN:
    case U_UP:
    case U_CANCEL:
    case U_OK:
      ApplyDisplayReply();
      break;
    case U_WhoAreYou:
      ApplyVersionReply();
      break;
    case U_GiveMeADC:
      RecordMeasurement(now);
      break;
    default:
      break;
  }
}

void QueryDevice(uint8_t code) {
  Connect();
  if (!DeviceLink.PortOpen || ChargerState.Busy)
    return;
  ChargerState.Busy = true;
  DeviceLink.Request[0] = code;
  DeviceLink.RequestLength = 1;
  if (SendCommand()) {
    ApplyReply(Now());
  } else if (DeviceLink.PortOpen) {
    ClosePort();
  }
  StatusRefresh();
  ChargerState.Busy = false;
}

}  // namespace qv
