#include "tests/ui_graphs/drawn_lines.h"

#include <gtest/gtest.h>
#include <QLineSeries>
#include <QPainter>
#include <QPolygonF>
#include <cstdlib>

#include "tests/support/pixels.h"
#include "ui/graphs/graph_chart_view.h"

namespace {

// Room for the pen's width, its dashes and the merging of samples into pixel
// columns.
constexpr int kSlack = 6;
constexpr int kLooked = 4;  // the pen's half width and a dash's gap

QPointF inWindow(const QWidget& window, GraphChartView& view, QPointF inChart) {
  const QPointF inScene = view.chart()->mapToScene(inChart);
  return QPointF(view.viewport()->mapTo(&window, view.mapFromScene(inScene)));
}

}  // namespace

void ExpectDrawnLines(const QImage& image, const QWidget& window, GraphChartView& view,
                      const QList<ExpectedLine>& lines, const QColor& colour) {
  const QRectF area = view.chart()->plotArea();
  const QRect plot =
      QRectF(inWindow(window, view, area.topLeft()), inWindow(window, view, area.bottomRight()))
          .toAlignedRect()
          .intersected(image.rect());
  QImage near(image.size(), QImage::Format_Grayscale8);
  near.fill(0);
  QPainter painter(&near);
  painter.setPen(QPen(Qt::white, 2 * kSlack, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (const ExpectedLine& expected : lines) {
    QPolygonF line;
    for (const QPointF& sample : expected.samples)
      line << inWindow(window, view, view.chart()->mapToPosition(sample, expected.series));
    painter.drawPolyline(line);

    // Every line here starts at minute 0, the plot's left edge.
    EXPECT_LE(std::abs(line.first().x() - plot.left()), 1) << "starts at " << line.first().x();

    // Each sample where its time and value put it; one report per line.
    for (qsizetype k = 0; k < line.size(); ++k) {
      const QPoint at = line[k].toPoint();
      // A sample on an edge rounds out by a pixel.
      if (!plot.adjusted(-1, -1, 1, 1).contains(at) || !ColourNear(image, at, colour, kLooked)) {
        ADD_FAILURE() << "sample " << k << " of " << line.size() << " not shown at " << at.x()
                      << "," << at.y();
        break;
      }
    }
  }
  painter.end();

  // Nothing of the colour away from the lines: a line drawn elsewhere, or
  // beyond its samples, shows here.
  int astray = 0;
  QPoint first;
  for (int y = plot.top(); y <= plot.bottom(); ++y) {
    for (int x = plot.left(); x <= plot.right(); ++x) {
      if (near.pixelColor(x, y) == Qt::black && SameColour(image.pixelColor(x, y), colour) &&
          astray++ == 0)
        first = {x, y};
    }
  }
  EXPECT_EQ(astray, 0) << "first at " << first.x() << "," << first.y();
}
