#include "ui/macro/tool_images.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

const QColor kOutline(48, 48, 48);
const QColor kNavy(31, 63, 143);
const QColor kSteel(200, 204, 210);
const QColor kArrowGreen(40, 160, 60);
const QColor kSignalRed(210, 40, 40);
const QColor kSignalBlue(30, 110, 210);
const QColor kChip(60, 60, 66);

void drawFloppy(QPainter& p) {
  QPainterPath body;
  body.moveTo(2.5, 2.5);
  body.lineTo(18.5, 2.5);
  body.lineTo(21.5, 5.5);
  body.lineTo(21.5, 21.5);
  body.lineTo(2.5, 21.5);
  body.closeSubpath();
  p.setPen(kOutline);
  p.setBrush(kNavy);
  p.drawPath(body);
  p.setBrush(kSteel);
  p.drawRect(QRectF(6.5, 2.5, 10, 7));
  p.setBrush(kNavy);
  p.setPen(Qt::NoPen);
  p.drawRect(QRectF(13, 4, 2, 4));
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(5.5, 12.5, 13, 9));
  p.setPen(QColor(150, 150, 150));
  p.drawLine(QPointF(7.5, 15.5), QPointF(16.5, 15.5));
  p.drawLine(QPointF(7.5, 18.5), QPointF(16.5, 18.5));
}

void drawPrinter(QPainter& p) {
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 2.5, 11, 8));
  p.setBrush(kSteel);
  p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(6.5, 14.5, 11, 7));
  p.setPen(QColor(150, 150, 150));
  p.drawLine(QPointF(8.5, 17.5), QPointF(15.5, 17.5));
  p.drawLine(QPointF(8.5, 19.5), QPointF(13.5, 19.5));
  p.setPen(Qt::NoPen);
  p.setBrush(kArrowGreen);
  p.drawEllipse(QPointF(18.5, 12), 1.2, 1.2);
}

// An arrow filling the picture, pointing up, or down when flipped.
QPolygonF bigArrow(bool down) {
  QPolygonF arrow({{12, 2}, {22, 12}, {16, 12}, {16, 22}, {8, 22}, {8, 12}, {2, 12}});
  if (down) {
    for (QPointF& point : arrow)
      point.setY(24 - point.y());
  }
  return arrow;
}

void drawBigArrow(QPainter& p, bool down) {
  p.setPen(kOutline);
  p.setBrush(kArrowGreen);
  p.drawPolygon(bigArrow(down));
}

void drawPage(QPainter& p) {
  QPainterPath page;
  page.moveTo(3.5, 1.5);
  page.lineTo(13.5, 1.5);
  page.lineTo(18.5, 6.5);
  page.lineTo(18.5, 21.5);
  page.lineTo(3.5, 21.5);
  page.closeSubpath();
  p.setPen(kOutline);
  p.setBrush(Qt::white);
  p.drawPath(page);
  p.drawPolyline(QPolygonF({{13.5, 1.5}, {13.5, 6.5}, {18.5, 6.5}}));
}

// A round badge in the lower right corner with a white sign on it.
void drawBadge(QPainter& p, const QColor& colour, bool cross) {
  const QPointF centre(17, 17);
  p.setPen(kOutline);
  p.setBrush(colour);
  p.drawEllipse(centre, 6, 6);
  p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::FlatCap));
  if (cross) {
    p.drawLine(centre + QPointF(-3, -3), centre + QPointF(3, 3));
    p.drawLine(centre + QPointF(-3, 3), centre + QPointF(3, -3));
  } else {
    p.drawLine(centre + QPointF(-3.5, 0), centre + QPointF(3.5, 0));
    p.drawLine(centre + QPointF(0, -3.5), centre + QPointF(0, 3.5));
  }
}

// The charger's memory chip with an arrow leaving it (read) or entering it.
void drawChip(QPainter& p, bool intoChip) {
  p.setPen(QPen(kOutline, 1.4));
  for (int x = 7; x <= 17; x += 5) {
    p.drawLine(QPointF(x, 11), QPointF(x, 22.5));
  }
  p.setPen(kOutline);
  p.setBrush(kChip);
  p.drawRect(QRectF(4.5, 13.5, 15, 7));
  p.setPen(Qt::NoPen);
  p.setBrush(kSteel);
  p.drawEllipse(QPointF(7, 17), 1.2, 1.2);
  QPolygonF arrow({{12, 1}, {17.5, 6}, {14, 6}, {14, 11}, {10, 11}, {10, 6}, {6.5, 6}});
  if (intoChip) {
    for (QPointF& point : arrow)
      point.setY(12 - point.y());
  }
  p.setPen(kOutline);
  p.setBrush(kSignalBlue);
  p.drawPolygon(arrow);
}

void drawHelp(QPainter& p) {
  p.setPen(kOutline);
  p.setBrush(kSignalBlue);
  p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
  QFont font;
  font.setBold(true);
  font.setPixelSize(17);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, QStringLiteral("?"));
}

}  // namespace

QPixmap DrawToolImage(ToolImage image) {
  QPixmap pixmap(kToolImageSize, kToolImageSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  switch (image) {
    case ToolImage::Save:
      drawFloppy(p);
      break;
    case ToolImage::Print:
      drawPrinter(p);
      break;
    case ToolImage::Up:
    case ToolImage::Down:
      drawBigArrow(p, image == ToolImage::Down);
      break;
    case ToolImage::Add:
    case ToolImage::Delete:
      drawPage(p);
      drawBadge(p, image == ToolImage::Add ? kArrowGreen : kSignalRed, image == ToolImage::Delete);
      break;
    case ToolImage::ReadDevice:
    case ToolImage::WriteDevice:
      drawChip(p, image == ToolImage::WriteDevice);
      break;
    case ToolImage::Help:
      drawHelp(p);
      break;
  }
  return pixmap;
}

QList<QPixmap> ToolImageList() {
  QList<QPixmap> images;
  for (int i = 0; i < kToolImageCount; ++i)
    images.append(DrawToolImage(static_cast<ToolImage>(i)));
  return images;
}
