#include "acquisition/shared_state.h"

#include <algorithm>

#include "link/device_link.h"

namespace qv {

ChannelRecord ChannelData[2];
ScreenRecord ScreenImage;
ChargerRecord ChargerState;

namespace {

// In place: a ChannelRecord is far too big for a temporary on the stack.
void resetChannel(ChannelRecord& channel) {
  ClearSeries(channel);
  channel.State = kStateIdle;
  channel.Mode = 0;
  channel.VoltageSetPoint = 0;
  channel.CurrentSetPoint = 0;
  channel.DialFlags = 0;
  channel.LogPath.clear();
  channel.StartTime = 0;
  channel.ZoomedChart = kNoZoomedChart;
}

}  // namespace

void ClearSeries(ChannelRecord& channel) {
  for (SampleSeries series : kLogSeries)
    std::fill(channel.*series, channel.*series + kSeriesCapacity, 0.0);
  channel.Count = 0;
}

void InitSharedState() {
  for (int i = 0; i < kScreenCells; ++i)
    ScreenImage.Chars[i] = static_cast<uint8_t>('0' + i % 10);
  ScreenImage.CursorPos = kNoCursor;
  ScreenImage.Blink = false;
  for (ChannelRecord& channel : ChannelData)
    resetChannel(channel);
  ChargerState = ChargerRecord{};
}

void ApplyPortClosedState() {
  ResetLinkCounters();
  std::fill(std::begin(ScreenImage.Chars), std::end(ScreenImage.Chars), static_cast<uint8_t>('M'));
}

}  // namespace qv
