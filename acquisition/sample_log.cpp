#include "acquisition/sample_log.h"

#include <cmath>

#include "acquisition/shared_state.h"
#include "common/cp1251.h"
#include "common/text.h"
#include "common/textfile.h"

namespace qv {

namespace {

constexpr int kFieldWidth = 11;

double roundedTime(double minutes) {
  return std::trunc(minutes * 100 + 0.5) * 0.01;
}

}  // namespace

QString FormatLogValue(double value) {
  return (QString(kFieldWidth, u' ') + FormatNumber(QStringLiteral("0.00"), value))
      .right(kFieldWidth);
}

QString SampleLine(const ChannelRecord& c, int k) {
  QString line = FormatLogValue(roundedTime(c.Time[k]));
  for (int field = 1; field < kLogFields; ++field)
    line += QLatin1Char(';') + FormatLogValue((c.*kLogSeries[field])[k]);
  return line;
}

void AppendSampleLine(const ChannelRecord& channel) {
  if (channel.LogPath.isEmpty())
    return;
  // A line that cannot be written is lost; the recording in memory goes on.
  (void)AppendToFile(channel.LogPath,
                     ToCp1251(SampleLine(channel, channel.Count) + QStringLiteral("\r\n")));
}

}  // namespace qv
