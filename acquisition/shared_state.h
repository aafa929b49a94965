#pragma once

#include <QString>
#include <cstdint>

#include "common/commands.h"

namespace qv {

inline constexpr int kSeriesCapacity = 50000;
inline constexpr int kNoZoomedChart = -1;

// DialFlags bits.
inline constexpr uint8_t kDialShowsSample = 0x01;      // else the dials show 0
inline constexpr uint8_t kDialVoltageSetPoint = 0x10;  // else the current dial has it

// A set point of this value is not shown.
inline constexpr double kNoSetPoint = -1;

// Recording states of a channel.
enum ChannelState : int {
  kStateIdle = 0,
  kStateRecording = 1,
  kStateEnded = 2,
  kStateRecordingOther = 3,
  kStateEndedOther = 4,
};

// One charger channel: eleven series sharing the sample index. Elements
// 0..Count-1 are recorded samples; element Count holds the live values of the
// latest measurement while the channel does not run.
struct ChannelRecord {
  uint8_t Mode = 0;
  float VoltageSetPoint = 0;
  float CurrentSetPoint = 0;
  uint8_t DialFlags = 0;
  QString LogPath;
  double StartTime = 0;
  int ZoomedChart = kNoZoomedChart;  // index of the enlarged chart
  QString LastMacro;
  int Count = 0;
  int State = kStateIdle;

  double Time[kSeriesCapacity];
  double Current[kSeriesCapacity];
  double Voltage[kSeriesCapacity];
  double Temp[kSeriesCapacity];
  double HeatsinkTemp[kSeriesCapacity];
  double Capacity[kSeriesCapacity];
  double Power[kSeriesCapacity];
  double Resistance[kSeriesCapacity];
  double dIdt[kSeriesCapacity];
  double dVdt[kSeriesCapacity];
  double dTdt[kSeriesCapacity];
};

// The charger's 4 x 20 display as single-byte codes, row by row.
struct ScreenRecord {
  uint8_t Chars[kScreenCells] = {};
  uint8_t CursorPos = kNoCursor;  // 80 or more: no cursor
  bool Blink = false;
};

struct ChargerRecord {
  double SupplyVoltage = 0;
  uint8_t StatusBits = 0;
  double LastAdcTime = 0;
  QString VersionText;
  bool DeviceIdentified = false;
  bool Busy = false;
};

// A series of a channel record.
using SampleSeries = double (ChannelRecord::*)[kSeriesCapacity];

// The eleven series in the order of a per-sample log line.
inline constexpr int kLogFields = 11;
inline constexpr SampleSeries kLogSeries[kLogFields] = {
    &ChannelRecord::Time,  &ChannelRecord::Current,      &ChannelRecord::Voltage,
    &ChannelRecord::Temp,  &ChannelRecord::HeatsinkTemp, &ChannelRecord::Capacity,
    &ChannelRecord::Power, &ChannelRecord::Resistance,   &ChannelRecord::dIdt,
    &ChannelRecord::dVdt,  &ChannelRecord::dTdt,
};

extern ChannelRecord ChannelData[2];
extern ScreenRecord ScreenImage;
extern ChargerRecord ChargerState;

// Start values of the channels, the display and the charger's state. The
// memory image is its own library's to clear.
void InitSharedState();
// Every series of the channel zero and no sample recorded.
void ClearSeries(ChannelRecord& channel);

// What every status refresh does while no port is open: no counters, and the
// display filled with "M". The memory read's progress is the caller's.
void ApplyPortClosedState();

}  // namespace qv
