#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPointF>

class GraphChartView;
class QLineSeries;
class QWidget;

// A line as its samples (time, value) put it; the series only lends its axes.
struct ExpectedLine {
  QLineSeries* series = nullptr;
  QList<QPointF> samples;
};

// How the lines of one colour in a chart show in a picture of its window:
// the colour at each sample of each line, and nowhere in the plot far
// from all of them.
void ExpectDrawnLines(const QImage& image, const QWidget& window, GraphChartView& view,
                      const QList<ExpectedLine>& lines, const QColor& colour);
