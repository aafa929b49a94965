#pragma once

#include <QImage>
#include <QWidget>

// The picture control of the main window: shows a copy of the panel picture
// stretched to its size and reports mouse presses and releases in its own
// pixels together with its size.
class PanelView : public QWidget {
  Q_OBJECT

 public:
  explicit PanelView(QWidget* parent = nullptr);
  void setPicture(const QImage& picture);
  const QImage& picture() const { return picture_; }

 signals:
  void pressed(QPoint position, QSize size);
  void released(QPoint position, QSize size);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage picture_;
};
