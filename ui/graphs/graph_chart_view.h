#pragma once

#include <QChartView>
#include <QPointF>

class QXYSeries;

// A series point under the mouse: its series, null when no point is within
// reach, and its coordinates in the series' units.
struct SeriesPoint {
  const QXYSeries* series = nullptr;
  QPointF point;
};

// A chart control that tells a click, with the series point under it, and a
// double click.
class GraphChartView : public QChartView {
  Q_OBJECT

 public:
  explicit GraphChartView(QWidget* parent = nullptr);

  // The series point nearest to a viewport position.
  SeriesPoint pointAt(QPoint position) const;

 signals:
  // The point is the one under the press, by its coordinates: the series
  // may be drawn with other points by the release.
  void clicked(const SeriesPoint& point);
  void doubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // The point found at the press; a click is a press and a release here.
  SeriesPoint pressedPoint_;
  bool pressed_ = false;
};
