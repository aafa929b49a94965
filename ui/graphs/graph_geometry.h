#pragma once

#include <QList>
#include <QPointF>
#include <QRect>
#include <QSizeF>
#include <QString>
#include <array>

#include "ui/graphs/graph_tables.h"

struct ChartPlacement {
  QRect geometry;
  bool visible = true;
};

// Where the nine charts go: a 3 x 3 grid of equal cells, column by column,
// the division remainders left uncovered; or the zoomed chart alone over the
// whole client area. A zoomed index outside the nine means the grid. Empty
// cells are hidden, or a chart would keep its own minimum size there.
std::array<ChartPlacement, kChartCount> ChartCells(QSize client, int zoomedChart);

// The recorded samples of a channel that can be shown: Count kept within the
// series, since nothing stops a channel at their end.
int RecordedCount(const qv::ChannelRecord& channel);

struct ValueRange {
  double min = 0;
  double max = 1;
};

// The span of the first count values, non-finite ones ignored; a single
// value gets a margin of 1 either side so an axis never collapses.
ValueRange SeriesRange(const double* values, int count);
// The same for values that do not decrease, from the first and the last
// alone; the whole scan when they are not finite or out of order.
ValueRange AscendingRange(const double* values, int count);
ValueRange Union(const ValueRange& a, const ValueRange& b);

// A round step (1, 2 or 5 times a power of ten) giving about `ticks` steps
// over span, never finer than the labels' resolution, so that no two labels
// read the same; 0 when span is not a usable positive number.
double NiceTickInterval(double span, double resolution = 0, int ticks = 4);

// The smallest step a number pattern ("0", "0.00", "#0.00") can show.
double LabelResolution(const char* pattern);

// The printf form of a number pattern "0", "0.00" or "#0.00".
QString AxisLabelFormat(const char* pattern);

struct PointHit {
  int index = -1;  // -1: nothing within reach
  double distance = 0;
};

// The point of a polyline nearest to target, measured in pixels through the
// scale pixelsPerUnit; a hit on a segment picks its nearer end. Anything
// farther than tolerance pixels is no hit.
PointHit NearestPoint(const QList<QPointF>& points, QPointF target, QSizeF pixelsPerUnit,
                      double tolerance);
