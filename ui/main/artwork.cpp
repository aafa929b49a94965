#include "ui/main/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

using namespace qv;

namespace {

constexpr int kButtonSize = 26;
constexpr int kBatteryHeight = 38;
constexpr int kCapWidth = 12;
constexpr int kTipWidth = 8;

const QColor kPressedBlue(0, 0, 160);
const QColor kReleasedBlue(110, 180, 255);
const QColor kGreen(40, 200, 60);
const QColor kRed(220, 40, 40);
const QColor kEmptyBody(40, 40, 48);
const QColor kMetal(170, 170, 176);

enum class Side { Left, Right };
enum class Fill { Green, Red, Metal };

QColor fillColour(Fill fill) {
  switch (fill) {
    case Fill::Green:
      return kGreen;
    case Fill::Red:
      return kRed;
    case Fill::Metal:
      return kMetal;
  }
  return kMetal;
}

// Lighter at the top and bottom edge, as a cylinder seen from the side.
QLinearGradient cylinder(const QColor& colour) {
  QLinearGradient g(0, 0, 0, kBatteryHeight);
  g.setColorAt(0.0, colour.darker(170));
  g.setColorAt(0.3, colour.lighter(140));
  g.setColorAt(0.6, colour);
  g.setColorAt(1.0, colour.darker(200));
  return g;
}

QImage blank(int width, int height, const QColor& colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// ---- buttons ----

void drawSymbol(QPainter& p, int button, const QColor& colour) {
  QPen pen(colour, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  const double c = kButtonSize / 2.0;
  const double r = 6.5;
  switch (button) {
    case 1:  // cancel
      p.drawLine(QPointF(c - r, c - r), QPointF(c + r, c + r));
      p.drawLine(QPointF(c - r, c + r), QPointF(c + r, c - r));
      break;
    case 2:  // down
      p.drawLine(QPointF(c - r - 1, c), QPointF(c + r + 1, c));
      break;
    case 3:  // up
      p.drawLine(QPointF(c - r - 1, c), QPointF(c + r + 1, c));
      p.drawLine(QPointF(c, c - r - 1), QPointF(c, c + r + 1));
      break;
    case 4:  // ok
      p.drawPolyline(QList<QPointF>{{c - r, c}, {c - 2, c + r - 1}, {c + r, c - r}});
      break;
  }
}

QImage buttonImage(int button, bool pressed) {
  QImage image = blank(kButtonSize, kButtonSize, Qt::black);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawSymbol(p, button, pressed ? kPressedBlue : kReleasedBlue);
  return image;
}

// ---- battery parts ----

QImage column(Fill fill, bool empty) {
  QImage image = blank(1, kBatteryHeight, Qt::black);
  QPainter p(&image);
  p.fillRect(image.rect(), cylinder(empty ? kEmptyBody : fillColour(fill)));
  return image;
}

// A tip shades the fill off into the empty body over its width.
QImage tip(Fill fill, Side end) {
  QImage image = blank(kTipWidth, kBatteryHeight, Qt::black);
  const QImage body = column(fill, true);
  const QImage full = column(fill, false);
  for (int x = 0; x < kTipWidth; ++x) {
    double w = (x + 0.5) / kTipWidth;  // share of the empty body
    if (end == Side::Left)
      w = 1.0 - w;
    for (int y = 0; y < kBatteryHeight; ++y) {
      const QColor a = full.pixelColor(0, y), b = body.pixelColor(0, y);
      image.setPixelColor(x, y,
                          QColor::fromRgbF(float(a.redF() * (1 - w) + b.redF() * w),
                                           float(a.greenF() * (1 - w) + b.greenF() * w),
                                           float(a.blueF() * (1 - w) + b.blueF() * w)));
    }
  }
  return image;
}

// The round end of a battery, or the terminal that forms the inner end: the
// corners outside the outline stay orange so that drawing takes them as
// transparent.
QImage cap(Fill fill, Side end) {
  QImage image = blank(kCapWidth, kBatteryHeight, kCapCornerColour);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  const bool left = end == Side::Left;
  if (fill == Fill::Metal) {
    // A short body stub and the terminal knob.
    p.setBrush(cylinder(kEmptyBody));
    p.drawRect(left ? 8 : 0, 0, 4, kBatteryHeight);
    p.setBrush(cylinder(kMetal));
    p.drawRoundedRect(left ? 1 : 4, 11, 7, 16, 2, 2);
    return image;
  }
  QPainterPath path;
  const QRectF round(left ? 0 : -kCapWidth, 0, 2 * kCapWidth, kBatteryHeight);
  path.addRoundedRect(round, 7, 7);
  p.setClipRect(image.rect());
  p.setBrush(cylinder(fillColour(fill)));
  p.drawPath(path);
  return image;
}

// ---- panel picture ----

void topLeftText(QPainter& p, int x, int y, const QString& text) {
  p.drawText(x, y + p.fontMetrics().ascent(), text);
}

void drawBody(QPainter& p) {
  QLinearGradient body(0, 0, 0, 480);
  body.setColorAt(0, QColor(70, 78, 92));
  body.setColorAt(1, QColor(38, 42, 52));
  p.fillRect(0, 0, 800, 480, body);
  p.setPen(QPen(QColor(120, 130, 150), 2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(4, 4, 792, 472), 18, 18);
}

// The bays where the seven batteries of each channel sit.
void drawBatteryBays(QPainter& p) {
  p.setPen(QPen(QColor(20, 22, 28), 2));
  p.setBrush(QColor(54, 60, 72));
  p.drawRoundedRect(QRect(22, 88, 106, 356), 10, 10);
  p.drawRoundedRect(QRect(672, 88, 106, 356), 10, 10);
  // Label plates above the bays.
  p.setBrush(QColor(200, 204, 212));
  p.drawRoundedRect(QRect(40, 40, 110, 44), 6, 6);
  p.drawRoundedRect(QRect(650, 40, 120, 44), 6, 6);
}

void drawDisplayWindow(QPainter& p) {
  // The cells run from (224, 216) over 20 x 4 cells of 12 x 20 pixels.
  const QRect cells(224, 216, 240, 80);
  p.setPen(QPen(QColor(16, 16, 20), 3));
  p.setBrush(QColor(90, 96, 110));
  p.drawRoundedRect(cells.adjusted(-22, -22, 22, 22), 8, 8);
  QLinearGradient lcd(0, cells.top(), 0, cells.bottom());
  lcd.setColorAt(0, QColor(30, 60, 150));
  lcd.setColorAt(1, QColor(10, 30, 100));
  p.setPen(QPen(QColor(8, 10, 30), 2));
  p.setBrush(lcd);
  p.drawRect(cells.adjusted(-8, -6, 8, 6));
  // Plate for the supply and heat-sink labels above the window.
  p.setPen(QPen(QColor(20, 22, 28), 1));
  p.setBrush(QColor(200, 204, 212));
  p.drawRoundedRect(QRect(280, 188, 180, 24), 5, 5);
}

void drawButtonField(QPainter& p) {
  p.setPen(QPen(QColor(16, 16, 20), 2));
  p.setBrush(QColor(60, 66, 80));
  p.drawRoundedRect(QRect(246, 318, 194, 50), 25, 25);
}

void drawLettering(QPainter& p) {
  QFont title(QStringLiteral("Arial"));
  title.setPixelSize(34);
  title.setBold(true);
  title.setItalic(true);
  p.setFont(title);
  p.setPen(QColor(230, 232, 240));
  const QRect head(160, 40, 480, 60);
  p.drawText(head, Qt::AlignCenter, QStringLiteral("QV 2.0"));
  QFont small(QStringLiteral("Arial"));
  small.setPixelSize(14);
  small.setBold(true);
  p.setFont(small);
  p.setPen(QColor(190, 196, 210));
  p.drawText(QRect(160, 96, 480, 24), Qt::AlignCenter,
             QStringLiteral("Зарядное устройство, два канала"));
  topLeftText(p, 34, 446, QStringLiteral("Канал 1"));
  topLeftText(p, 708, 446, QStringLiteral("Канал 2"));
  QFont keys(QStringLiteral("Arial"));
  keys.setPixelSize(11);
  keys.setBold(true);
  p.setFont(keys);
  const char* names[] = {"ОТМЕНА", "ВНИЗ", "ВВЕРХ", "ОК"};
  const int centres[] = {275, 320, 365, 410};
  for (int i = 0; i < 4; ++i) {
    p.drawText(QRect(centres[i] - 30, 372, 60, 16), Qt::AlignCenter, QString::fromUtf8(names[i]));
  }
}

// ---- program icon, drawn on a 48 x 48 grid ----

constexpr double kIconGrid = 48;
const QColor kIconInk(0, 0, 128);

void drawIconPlate(QPainter& p) {
  QLinearGradient plate(0, 0, 0, kIconGrid);
  plate.setColorAt(0, kWindowSkyBlue.lighter(115));
  plate.setColorAt(1, kWindowSkyBlue.darker(110));
  p.setPen(QPen(kIconInk, 2));
  p.setBrush(plate);
  p.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
}

void drawIconBattery(QPainter& p) {
  const QRectF body(7, 23, 30, 17);
  p.setPen(Qt::NoPen);
  p.setBrush(kIconInk);
  p.drawRect(QRectF(body.right(), body.top() + 5, 4, body.height() - 10));
  p.setBrush(Qt::white);
  p.drawRect(body);
  p.setBrush(kGreen);
  p.drawRect(QRectF(body.left(), body.top(), body.width() * 0.7, body.height()));
  p.setPen(QPen(kIconInk, 2.5));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(body, 2, 2);
  // The charge flash across the fill.
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::yellow);
  p.drawPolygon(QPolygonF{{24, 24}, {16, 32.5}, {21, 32.5}, {18, 39}, {27, 30}, {22, 30}});
}

void drawIconLettering(QPainter& p) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kIconInk);
  p.drawText(QRectF(2, 3, 44, 19), Qt::AlignCenter, QStringLiteral("QV"));
}

}  // namespace

QImage DrawProgramIcon(int size) {
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(size / kIconGrid, size / kIconGrid);
  drawIconPlate(p);
  drawIconBattery(p);
  drawIconLettering(p);
  return icon;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 256})
    icon.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
  return icon;
}

QImage DrawPanelPicture() {
  QImage picture(800, 480, QImage::Format_RGB32);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  drawBody(p);
  drawBatteryBays(p);
  drawDisplayWindow(p);
  drawButtonField(p);
  drawLettering(p);
  return picture;
}

const QList<QImage>& ImageList1() {
  static const QList<QImage> list = [] {
    QList<QImage> images;
    for (bool pressed : {true, false}) {
      for (int b = 1; b <= 4; ++b)
        images << buttonImage(b, pressed);
    }
    return images;
  }();
  return list;
}

const QList<QImage>& ImageList2() {
  static const QList<QImage> list{column(Fill::Green, false), column(Fill::Red, false),
                                  column(Fill::Green, true)};
  return list;
}

const QList<QImage>& ImageList3() {
  static const QList<QImage> list{tip(Fill::Green, Side::Right), tip(Fill::Red, Side::Right),
                                  tip(Fill::Green, Side::Left), tip(Fill::Red, Side::Left)};
  return list;
}

const QList<QImage>& ImageList4() {
  static const QList<QImage> list{cap(Fill::Green, Side::Left),  cap(Fill::Red, Side::Left),
                                  cap(Fill::Metal, Side::Right), cap(Fill::Metal, Side::Left),
                                  cap(Fill::Green, Side::Right), cap(Fill::Red, Side::Right)};
  return list;
}
