#include "ui/graphs/run_source.h"

#include "common/clock.h"
#include "ui/graphs/graph_geometry.h"

using namespace qv;

RunSource::RunSource(int channel) : channel_(channel) {}

RunSource::RunSource(QList<LoadedRun> runs) : runs_(std::move(runs)) {}

int RunSource::runCount() const {
  return live() ? 1 : static_cast<int>(runs_.size());
}

RunSeries RunSource::series(int run) const {
  return live() ? SeriesOf(ChannelData[channel_]) : runs_[run].series();
}

std::optional<double> RunSource::start(int run) const {
  if (!live())
    return runs_[run].name.start;
  const ChannelRecord& record = ChannelData[channel_];
  // A channel that never recorded has no run to date.
  if (RecordedCount(record) == 0 || record.StartTime <= 0)
    return std::nullopt;
  return record.StartTime;
}

QString RunSource::name(int run) const {
  return live() ? QStringLiteral("Канал %1").arg(channel_ + 1) : runs_[run].fileName();
}

QString RunSource::description(int run) const {
  const std::optional<double> begun = start(run);
  return begun ? name(run) + QStringLiteral(", начало ") + StartText(*begun) : name(run);
}

int RunSource::sampleCount() const {
  int count = 0;
  for (int run = 0; run < runCount(); ++run)
    count += series(run).count;
  return count;
}

QString StartText(double days) {
  return DaysToDateTime(days).toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}
