#pragma once

#include <QChartView>

// A chart control that tells a click, with the series point under it, and a
// double click.
class GraphChartView : public QChartView {
  Q_OBJECT

 public:
  explicit GraphChartView(QWidget* parent = nullptr);

  // The index within its series of the point under a viewport position, or
  // -1 when no series point is within reach.
  int pointAt(QPoint position) const;

 signals:
  void clicked(int point);
  void doubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  // The point found at the press; a click is a press and a release here.
  int pressedPoint_ = -1;
  bool pressed_ = false;
};
