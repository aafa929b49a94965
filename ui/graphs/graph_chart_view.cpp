#include "ui/graphs/graph_chart_view.h"

#include <QMouseEvent>
#include <QValueAxis>
#include <QXYSeries>

#include "ui/graphs/graph_geometry.h"

using namespace qv;

namespace {

// How far from a line, in pixels, a click still takes its point.
constexpr double kHitTolerance = 4.0;

const QValueAxis* valueAxis(const QChart& chart, Qt::Orientation orientation,
                            QAbstractSeries* series) {
  const QList<QAbstractAxis*> axes = chart.axes(orientation, series);
  return axes.isEmpty() ? nullptr : qobject_cast<const QValueAxis*>(axes.first());
}

}  // namespace

GraphChartView::GraphChartView(QWidget* parent) : QChartView(parent) {
  // The view would grow its minimum to what the chart's axes need; the
  // window's layout decides the size, and a chart squeezed below it is fine.
  chart()->setMinimumSize(0, 0);
}

SeriesPoint GraphChartView::pointAt(QPoint position) const {
  QChart* plot = chart();
  const QRectF area = plot->plotArea();
  if (area.isEmpty())
    return {};  // squeezed to nothing: no pixel to click on
  const QPointF chartPosition = plot->mapFromScene(mapToScene(position));
  PointHit best;
  SeriesPoint found;
  for (QAbstractSeries* abstract : plot->series()) {
    const auto* series = qobject_cast<const QXYSeries*>(abstract);
    const QValueAxis* x = valueAxis(*plot, Qt::Horizontal, abstract);
    const QValueAxis* y = valueAxis(*plot, Qt::Vertical, abstract);
    if (!series || !x || !y || !series->isVisible())
      continue;
    const QSizeF scale(area.width() / (x->max() - x->min()), area.height() / (y->max() - y->min()));
    const PointHit hit = NearestPoint(series->points(), plot->mapToValue(chartPosition, abstract),
                                      scale, kHitTolerance);
    if (hit.index >= 0 && (best.index < 0 || hit.distance < best.distance)) {
      best = hit;
      found = {series, series->at(hit.index)};
    }
  }
  return found;
}

void GraphChartView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  pressed_ = true;
  pressedPoint_ = pointAt(event->position().toPoint());
}

void GraphChartView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_)
    return;
  pressed_ = false;
  if (viewport()->rect().contains(event->position().toPoint()))
    emit clicked(pressedPoint_);
}

void GraphChartView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton)
    return;
  pressed_ = false;
  emit doubleClicked();
}
