#pragma once

#include <QList>
#include <QString>
#include <array>

#include "acquisition/shared_state.h"

// The eleven values of one per-sample log line, in the line's order.
using LogSample = std::array<double, kLogFields>;
inline constexpr int kTimeField = 0;
inline constexpr int kCapacityField = 5;

struct RunFileContents {
  QList<LogSample> samples;  // every whole line
  int skippedLines = 0;      // lines that are not eleven numbers
};

// Reads a per-sample log. Either decimal separator is taken, so a file
// written under a comma locale reads anywhere. False when the file cannot be
// read at all.
bool ReadRunFile(const QString& path, RunFileContents* contents);
// One line's eleven numbers; false for anything else (a line a crash cut).
bool ParseLogLine(QStringView line, LogSample* sample);

// "yyyymmdd_hhnnss_K.gra" for a run of channel (0 or 1) started at the
// date-time in days; a suffix above 1 gives "..._K_n.gra".
QString RunFileName(double start, int channel, int suffix = 1);
