#include "ui/main/panel_view.h"

#include <QMouseEvent>
#include <QPainter>

PanelView::PanelView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PanelView::setPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

void PanelView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), picture_);
}

void PanelView::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->position().toPoint(), size());
}

void PanelView::mouseReleaseEvent(QMouseEvent* event) {
  emit released(event->position().toPoint(), size());
}
