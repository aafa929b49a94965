#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "acquisition/run_file.h"

// Where a window's samples come from: a channel's record, which grows while
// the channel records, or runs read back from their files, which never
// change.
class RunSource {
 public:
  explicit RunSource(int channel);
  explicit RunSource(QList<qv::LoadedRun> runs);

  // 0 or 1; -1 for runs from files.
  int channel() const { return channel_; }
  bool live() const { return channel_ >= 0; }
  const QList<qv::LoadedRun>& loadedRuns() const { return runs_; }

  // One for a channel.
  int runCount() const;
  qv::RunSeries series(int run) const;
  // The date-time in days of the run's sample 0, when known.
  std::optional<double> start(int run) const;
  // The file's name, or "Канал 1".
  QString name(int run) const;
  // The name and, when known, when the run began.
  QString description(int run) const;
  // Samples of every run together: what moves when there is more to show.
  int sampleCount() const;

 private:
  int channel_ = -1;
  QList<qv::LoadedRun> runs_;
};

// "dd.MM.yyyy hh:mm:ss" of a date-time in days.
QString StartText(double days);
