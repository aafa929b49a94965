#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVector>
#include <array>
#include <optional>

#include "acquisition/shared_state.h"

namespace qv {

inline constexpr int kTimeField = 0;
inline constexpr int kCurrentField = 1;
inline constexpr int kVoltageField = 2;
inline constexpr int kTempField = 3;
inline constexpr int kHeatsinkField = 4;
inline constexpr int kCapacityField = 5;
inline constexpr int kPowerField = 6;

// The most lines a run file is read to: what a channel records at most.
inline constexpr int kRunLineLimit = kSeriesCapacity;

// The samples of a run as the analysis and the views read them: the eleven
// series in the order of a log line, sharing the sample index.
struct RunSeries {
  std::array<const double*, kLogFields> series{};
  int count = 0;

  const double* operator[](int field) const { return series[field]; }
};

// Samples 0 .. Count-1 of a channel.
RunSeries SeriesOf(const ChannelRecord& channel);

// What a run file's name tells: "yyyymmdd_hhnnss_K.gra", or with a suffix
// "_n" before the extension.
struct RunName {
  std::optional<double> start;  // date-time in days
  int channel = -1;             // 0 or 1; -1 when the name does not tell
};
RunName ParseRunFileName(const QString& fileName);

// "yyyymmdd_hhnnss_K.gra" for a run of channel (0 or 1) started at the
// date-time in days; a suffix above 1 gives "..._K_n.gra".
QString RunFileName(double start, int channel, int suffix = 1);

// A run read back from its file.
struct LoadedRun {
  QString path;
  RunName name;
  std::array<QVector<double>, kLogFields> columns;
  int skippedLines = 0;  // lines that are not eleven numbers
  bool cut = false;      // the file goes on past kRunLineLimit lines

  int count() const { return static_cast<int>(columns[kTimeField].size()); }
  RunSeries series() const;
  QString fileName() const;
  // What the reader should know of the file, empty when all is well.
  QString warning() const;
  // The wall-clock date-time of sample k, when the name tells the start.
  std::optional<double> wallClock(int k) const;
};

// Every whole line of a run file; a damaged line (cut by a crash, junk,
// binary bytes) is counted and skipped. A line is whole when its line end
// was written: the last line of a file a crash cut has none. A field is a
// number as the recorder writes it, blanks around, without an exponent;
// either decimal separator is taken, so a file written under a comma locale
// reads anywhere. False, with *error saying why, for a path that is no
// readable regular file or a file without a whole sample line.
bool LoadRun(const QString& path, LoadedRun* run, QString* error);
// The same from the file's bytes.
bool ParseRun(QByteArrayView bytes, LoadedRun* run);

// One line's eleven numbers; false for anything else.
bool ParseLogLine(QByteArrayView line, std::array<double, kLogFields>* values);

}  // namespace qv
