#pragma once

#include <QList>
#include <QPointF>

#include "ui/graphs/graph_geometry.h"

// The pixel columns of a plot in time: columns of equal width, the first
// starting at timeStart, the last ending at timeEnd.
struct ColumnGrid {
  double timeStart = 0;
  double timeEnd = 1;
  int columns = 1;

  bool operator==(const ColumnGrid&) const = default;
};

// The columns of whole device pixels under a plot area that starts at left
// and is width pixels wide (both may be fractional) and shows the time
// range: a column of the grid is then a column of pixels on the screen.
ColumnGrid PixelColumns(const ValueRange& time, double left, double width);

// The samples that draw the same line as all count of them on the grid: of
// each column the first, the lowest, the highest and the last sample, each
// once, with its own time and value, in sample order. A column whose values
// all lie within flatSpan (less than the pen can show) keeps only its first
// and last sample. A column of one or two samples keeps them all. Time must
// not decrease; non-finite values are never the lowest or highest.
QList<QPointF> ReduceToColumns(const double* time, const double* values, int count,
                               const ColumnGrid& grid, double flatSpan = 0);

// The index of the sample nearest to point.x() in time, which must not
// decrease; of samples equally near, the one nearest to point.y() in value,
// then the first. -1 for no samples or a non-finite time.
int ClosestSampleIndex(const double* time, const double* values, int count, QPointF point);
