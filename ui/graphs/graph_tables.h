#pragma once

#include <QSize>
#include <array>

#include "acquisition/shared_state.h"
#include "common/palette.h"
#include "ui/main/child_window.h"

inline constexpr int kChartCount = 9;
inline constexpr int kQuantityCount = 10;
inline constexpr int kSeriesLineWidth = 3;

inline constexpr const char* kTimeAxisTitle = "Время (мин)";
inline constexpr const char* kTimeNumberFormat = "0";

struct GraphChartInfo {
  const char* name;
  const char* axisTitle;  // left axis
  const char* numberFormat;
};

// One recorded quantity of a channel and the series that shows it; the order
// is that of the per-sample log and of the point report.
struct GraphQuantityInfo {
  qv::SampleSeries values;
  int chart;  // index into kGraphCharts
  const char* seriesName;
  const char* seriesTitle;  // null: the chart's axis title
  qv::Rgb colour;
  bool dashed;
  const char* reportLabel;
};

extern const std::array<GraphChartInfo, kChartCount> kGraphCharts;
extern const std::array<GraphQuantityInfo, kQuantityCount> kGraphQuantities;

QString SeriesTitle(const GraphQuantityInfo& quantity);
// Its place in a log line, and so in a RunSeries.
int QuantityField(const GraphQuantityInfo& quantity);

// The colours of overlaid runs, one each, in the order they were chosen;
// more runs take them again from the first.
extern const std::array<qv::Rgb, 8> kRunColours;

// What tells the two graphs windows apart; indexed by channel (0 or 1).
struct GraphWindowInfo {
  ChildKind kind;
  const char* caption;
  QSize designSize;
};

extern const std::array<GraphWindowInfo, 2> kGraphWindows;
