#pragma once

#include <QString>

namespace qv {

struct ChannelRecord;

// Two decimals with the locale's separator, right-aligned in exactly 11
// characters; a longer number loses its leftmost characters.
QString FormatLogValue(double value);

// The eleven fields of sample k joined by ";", without the line end.
QString SampleLine(const ChannelRecord& channel, int k);

// Appends the line of sample Count to the channel's LogPath; a file that
// cannot be written loses the line silently.
void AppendSampleLine(const ChannelRecord& channel);

}  // namespace qv
