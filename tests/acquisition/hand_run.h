#pragma once

#include <QByteArray>
#include <array>
#include <vector>

#include "acquisition/run_file.h"
#include "acquisition/sample_log.h"

// Runs made by hand for the reader, the analysis and the export.

// A sample by the values the analysis reads; resistance and rates stay 0.
struct HandSample {
  double minutes = 0;
  double current = 0;
  double voltage = 0;
  double temp = 0;
  double heatsink = 0;
  double capacity = 0;
  double power = 0;
};

inline std::array<double, qv::kLogFields> ValuesOf(const HandSample& s) {
  return {s.minutes, s.current, s.voltage, s.temp, s.heatsink, s.capacity, s.power, 0, 0, 0, 0};
}

// The samples as the reader leaves them in a run.
inline qv::LoadedRun RunOf(const std::vector<HandSample>& samples) {
  qv::LoadedRun run;
  for (const HandSample& sample : samples) {
    const std::array<double, qv::kLogFields> values = ValuesOf(sample);
    for (int field = 0; field < qv::kLogFields; ++field)
      run.columns[field].append(values[field]);
  }
  return run;
}

// The sample's line as the recorder writes it under the current default
// locale, CR LF included.
inline QByteArray LogLine(const HandSample& sample) {
  QString line;
  for (double value : ValuesOf(sample)) {
    if (!line.isEmpty())
      line += QLatin1Char(';');
    line += qv::FormatLogValue(value);
  }
  return line.toLatin1() + "\r\n";
}

inline QByteArray LogLines(const std::vector<HandSample>& samples) {
  QByteArray lines;
  for (const HandSample& sample : samples)
    lines += LogLine(sample);
  return lines;
}

// A run with every kind of phase; the figures worked out by hand are in
// run_analysis_test.cpp.
//  k  min    A     V   °C  sink    Ah     W
//  0    0    0  12.0   20    25  0       0   rest
//  1    1    0  12.0   20    25  0       0
//  2    2    2  13.0   21    30  0      26   charge
//  3    5    2  13.6   23    33  0.10   27.2
//  4    8    1  14.0   26    34  0.15   14
//  5    9    0  13.2   25    31  0.15    0   rest
//  6   10    0  13.0   24    29  0.15    0
//  7   11  1.5  12.4   22    28  0.14   18.6 discharge
//  8   15  1.5  11.2   23    36  0.04   16.8
//  9   17  1.5  11.5   24    32 -0.01   17.25
inline std::vector<HandSample> RestChargeRestDischarge() {
  return {
      {0, 0, 12.0, 20, 25, 0, 0},          {1, 0, 12.0, 20, 25, 0, 0},
      {2, 2, 13.0, 21, 30, 0, 26},         {5, 2, 13.6, 23, 33, 0.10, 27.2},
      {8, 1, 14.0, 26, 34, 0.15, 14},      {9, 0, 13.2, 25, 31, 0.15, 0},
      {10, 0, 13.0, 24, 29, 0.15, 0},      {11, 1.5, 12.4, 22, 28, 0.14, 18.6},
      {15, 1.5, 11.2, 23, 36, 0.04, 16.8}, {17, 1.5, 11.5, 24, 32, -0.01, 17.25},
  };
}
