#include "ui/instruments/dials.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "acquisition/shared_state.h"
#include "common/text.h"
#include "ui/main/colours.h"

using namespace qv;

namespace {

constexpr int kBezelSegments = 33;
constexpr double kBezelSegmentWidth = 11;
constexpr int kGreyStep = 15;
constexpr int kGreyTop = 240;
constexpr double kScaleStart = 135;
constexpr double kScaleSweep = 270;
constexpr double kScaleEndTolerance = 405.1;
constexpr int kTopAngle = -90;  // unrotated text

// A filled rectangle (x1, y1)-(x2, y2) without its right and bottom edges.
QRect fillArea(int x1, int y1, int x2, int y2) {
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

QPen roundPen(const QColor& colour, int width) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void setPenWidth(QPainter& canvas, int width) {
  QPen pen = canvas.pen();
  pen.setWidth(width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  canvas.setPen(pen);
}

// A wide pen's zero-length line: a filled disc of that diameter on the pixel.
void drawDot(QPainter& canvas, QPoint p, int width, const QColor& colour) {
  canvas.save();
  canvas.setPen(Qt::NoPen);
  canvas.setBrush(colour);
  const double half = width / 2.0;
  canvas.drawEllipse(QRectF(p.x() + 0.5 - half, p.y() + 0.5 - half, width, width));
  canvas.restore();
}

// The pixel size of a face whose ascent plus descent is the given height.
int pixelSizeForCellHeight(QFont font, int cellHeight) {
  font.setPixelSize(cellHeight);
  const int cell = QFontMetrics(font).height();
  if (cell <= 0)
    return cellHeight;
  return std::max(1, static_cast<int>(std::lround(double(cellHeight) * cellHeight / cell)));
}

bool isMultipleOf(double product, int base, int i) {
  return Truncated(i * product) * base == i;
}

void drawBezel(QPainter& canvas, const DialGeometry& g) {
  const QVector<int> levels = BezelGreyLevels();
  for (int j = 0; j < levels.size(); ++j) {
    const int grey = std::max(0, levels[j]);
    const double start = 90 + kBezelSegmentWidth * j;
    canvas.setPen(QColor(grey, grey, grey));
    DrawArcSegment(canvas, g.cx, g.cy, g.r, start, -kBezelSegmentWidth, g.r * 0.03);
    canvas.setPen(ToQColor(kWhite));
    DrawArcSegment(canvas, g.cx, g.cy, g.innerRingRadius, start, -kBezelSegmentWidth, g.r * 0.03);
  }
}

void drawSquare(QPainter& canvas, const DialGeometry& g, int d, const QColor& colour) {
  canvas.setPen(roundPen(colour, g.penWidth));
  const QPoint corners[] = {{g.cx - d, g.cy - d},
                            {g.cx - d, g.cy + d},
                            {g.cx + d, g.cy + d},
                            {g.cx + d, g.cy - d},
                            {g.cx - d, g.cy - d}};
  canvas.drawPolyline(corners, 5);
}

void drawScrews(QPainter& canvas, const DialGeometry& g) {
  const int d = g.screwOffset;
  const QPoint screws[] = {
      {g.cx - d, g.cy - d}, {g.cx + d, g.cy - d}, {g.cx - d, g.cy + d}, {g.cx + d, g.cy + d}};
  for (QPoint p : screws)
    drawDot(canvas, p, g.screwRim, ToQColor(kWhite));
  for (QPoint p : screws)
    drawDot(canvas, p, g.screwHead, ToQColor(kBlue));
  const int e = g.slot;
  canvas.setPen(roundPen(ToQColor(kWhite), e));
  for (QPoint p : screws) {
    canvas.drawLine(p.x() - e, p.y() + e, p.x() + e, p.y() - e);
    canvas.drawLine(p.x() - e, p.y() - e, p.x() + e, p.y() + e);
  }
}

void drawScale(QPainter& canvas, const DialGeometry& g, double fullScale) {
  for (const ScaleTick& tick : DialScale(fullScale)) {
    if (tick.kind != TickClass::Minor) {
      const int height = tick.kind == TickClass::Major ? g.majorNumberHeight : g.mediumNumberHeight;
      DrawRadialText(canvas, g.cx, g.cy, g.numberRadius, Truncated(tick.angle), height, tick.number,
                     ToQColor(kBlack));
    }
    canvas.setPen(roundPen(ToQColor(kGreen), g.penWidth));
    canvas.drawLine(TickLine(g, tick));
  }
}

void drawNeedle(QPainter& canvas, const DialGeometry& g, double angle, const QColor& colour,
                int hub) {
  canvas.setPen(roundPen(colour, g.needleWidth));
  canvas.drawLine(NeedleLine(g, angle));
  drawDot(canvas, {g.cx, g.cy}, hub, colour);
}

void drawReadout(QPainter& canvas, const DialGeometry& g, const DialReading& reading) {
  canvas.fillRect(g.readoutBorder, ToQColor(kBlue));
  canvas.fillRect(g.readoutWindow, ToQColor(kWhite));
  DrawRadialText(canvas, g.valueTextCentre.x(), g.valueTextCentre.y(), 0, kTopAngle,
                 g.readoutHeight, ValueText(reading.value), ToQColor(kRed));
  DrawRadialText(canvas, g.setPointTextCentre.x(), g.setPointTextCentre.y(), 0, kTopAngle,
                 g.readoutHeight, SetPointText(reading.setPoint), ToQColor(kBlue));
}

}  // namespace

QColor ButtonFaceColour() {
  return QGuiApplication::palette().color(QPalette::Button);
}

int Truncated(double x) {
  return static_cast<int>(x);
}

DialReading ReadDial(const ChannelRecord& channel, int kind) {
  const bool current = kind == kCurrentDial;
  DialReading reading;
  reading.letter = current ? QStringLiteral("A") : QStringLiteral("V");
  reading.fullScale = current ? 5 : 30;
  if ((channel.DialFlags & kDialShowsSample) && channel.Count >= 1) {
    const int last = std::min(channel.Count, kSeriesCapacity) - 1;
    reading.value = current ? channel.Current[last] : channel.Voltage[last];
  }
  const bool voltageSetPoint = channel.DialFlags & kDialVoltageSetPoint;
  if (current && !voltageSetPoint)
    reading.setPoint = channel.CurrentSetPoint;
  if (!current && voltageSetPoint)
    reading.setPoint = channel.VoltageSetPoint;
  return reading;
}

DialReading LiveDialReading(const ChannelRecord& channel, int kind) {
  DialReading reading = ReadDial(channel, kind);
  if (!(channel.DialFlags & kDialShowsSample)) {
    const int live = std::clamp(channel.Count, 0, kSeriesCapacity - 1);
    reading.value = kind == kCurrentDial ? channel.Current[live] : channel.Voltage[live];
  }
  return reading;
}

QString ValueText(double value) {
  return FormatNumber(QStringLiteral("0.00"), value);
}

QString SetPointText(double setPoint) {
  // A negative set point reads as zero, always with a full stop.
  if (setPoint < 0)
    return QStringLiteral("0.00");
  return FormatNumber(QStringLiteral("0.00"), setPoint);
}

QColor PanelColour(double setPoint) {
  return ToQColor(setPoint == kNoSetPoint ? DialFaceColour : kYellow);
}

DialGeometry DialGeometryFor(QSize client, int kind) {
  DialGeometry g;
  g.hw = client.width() / 2;
  g.q = g.hw / 2;
  g.r = Truncated(g.q - g.q * 0.06);
  const bool current = kind == kCurrentDial;
  g.cx = current ? g.q : g.q + g.hw;
  g.cy = g.q;
  g.panel = current ? fillArea(0, 0, g.hw, g.hw) : fillArea(g.hw, 0, 2 * g.hw, g.hw);
  if (client.height() > g.hw)
    g.band = fillArea(0, g.hw, 2 * g.hw, client.height());

  const double r = g.r;
  g.penWidth = Truncated(r * 0.03);
  g.innerRingRadius = r * 0.97;
  g.frameInner = Truncated(r * 1.04);
  g.frameOuter = Truncated(r * 1.06);
  g.screwOffset = Truncated(r * 0.9);
  g.screwRim = Truncated(r * 0.2);
  g.screwHead = Truncated(r * 0.18);
  g.slot = Truncated(r * 0.04);
  g.numberRadius = Truncated(r * 0.7);
  g.majorNumberHeight = Truncated(r * 0.24);
  g.mediumNumberHeight = Truncated(r * 0.2);
  g.needleWidth = Truncated(r * 0.05);
  g.valueHub = Truncated(r * 0.36);
  g.setPointHub = Truncated(r * 0.28);
  g.cap = Truncated(r * 0.2);
  g.unitHeight = Truncated(r * 0.4);
  g.unitCentre = {g.cx, Truncated(g.cy - r * 0.35)};
  g.readoutBorder = fillArea(Truncated(g.cx - 0.3 * r), Truncated(g.cy + 0.39 * r),
                             Truncated(g.cx + 0.3 * r), Truncated(g.cy + 0.8 * r));
  g.readoutWindow = fillArea(Truncated(g.cx - 0.28 * r), Truncated(g.cy + 0.41 * r),
                             Truncated(g.cx + 0.28 * r), Truncated(g.cy + 0.78 * r));
  g.readoutHeight = Truncated(r * 0.25);
  g.valueTextCentre = {g.cx, Truncated(g.cy + 0.5 * r)};
  g.setPointTextCentre = {g.cx, Truncated(g.cy + 0.7 * r)};
  return g;
}

QPoint RadialPoint(int cx, int cy, double distance, double angle) {
  const double a = angle * DegToRad;
  return {Truncated(cx + distance * std::cos(a)), Truncated(cy + distance * std::sin(a))};
}

QVector<ScaleTick> DialScale(double fullScale) {
  const int n = Truncated(fullScale * 10);
  const int step = n > 100 ? 10 : 1;
  const int divisions = n / step;
  const double angleStep = kScaleSweep / divisions;
  QVector<ScaleTick> ticks;
  // Accumulated, not recomputed, so the last angles fall just short.
  int i = 0;
  for (double angle = kScaleStart; angle <= kScaleEndTolerance; angle += angleStep, ++i) {
    ScaleTick tick;
    tick.index = i;
    tick.angle = angle;
    const double value = i * step * 0.1;
    if (isMultipleOf(0.1, 10, i)) {
      tick.kind = TickClass::Major;
      tick.number = FormatNumber(QStringLiteral("0"), value);
    } else if (isMultipleOf(0.2, 5, i)) {
      tick.kind = TickClass::Medium;
      const bool whole = isMultipleOf(0.1, 10, i * step);
      tick.number = FormatNumber(whole ? QStringLiteral("0") : QStringLiteral("0.0"), value);
    }
    ticks << tick;
    if (divisions <= 0)  // no step to advance by: the zero tick only
      break;
  }
  return ticks;
}

QLine TickLine(const DialGeometry& g, const ScaleTick& tick) {
  const double inner = tick.kind == TickClass::Major    ? 0.79
                       : tick.kind == TickClass::Medium ? 0.83
                                                        : 0.87;
  return {RadialPoint(g.cx, g.cy, g.r * inner, tick.angle),
          RadialPoint(g.cx, g.cy, g.r * 0.9, tick.angle)};
}

double NeedleAngle(double value, double fullScale) {
  return (value * kScaleSweep / fullScale + kScaleStart) * DegToRad;
}

QLine NeedleLine(const DialGeometry& g, double angle) {
  const double r = g.r;
  const double c = std::cos(angle);
  const double s = std::sin(angle);
  return {QPoint(Truncated(g.cx - 0.2 * r * c), Truncated(g.cy - 0.2 * r * s)),
          QPoint(Truncated(g.cx + 0.9 * r * c), Truncated(g.cy + 0.9 * r * s))};
}

QVector<int> BezelGreyLevels() {
  QVector<int> levels;
  int grey = 0;
  bool rising = true;
  for (int j = 0; j < kBezelSegments; ++j) {
    if (rising) {
      grey += kGreyStep;
      if (grey >= kGreyTop)
        rising = false;
    } else {
      grey -= kGreyStep;
    }
    levels << grey;
  }
  return levels;
}

ArcGeometry ArcSegmentGeometry(int cx, int cy, double R, double start, double sweep) {
  ArcGeometry arc;
  arc.box = fillArea(Truncated(cx - R), Truncated(cy - R), Truncated(cx + R), Truncated(cy + R));
  // drawArc counts counterclockwise on screen, the dial's angles clockwise.
  double span = std::fmod(-sweep, 360.0);
  if (span <= 0)
    span += 360;
  arc.startAngle = static_cast<int>(std::lround(-start * 16));
  arc.spanAngle = static_cast<int>(std::lround(span * 16));
  return arc;
}

QFont RadialTextFont(int height) {
  QFont font(QStringLiteral("Arial Narrow"));
  font.setBold(true);
  if (height > 0)
    font.setPixelSize(pixelSizeForCellHeight(font, height));
  return font;
}

QPoint RadialTextOrigin(int cx, int cy, int R, int angle, QSize extent) {
  const int hw = extent.width() / 2;
  const int hh = extent.height() / 2;
  const double a = angle * DegToRad;
  return {Truncated(cx + (R + hh) * std::cos(a) + hw * std::sin(a)),
          Truncated(cy + (R + hh) * std::sin(a) - hw * std::cos(a))};
}

int RadialTextRotation(int angle) {
  return angle - kTopAngle;
}

void DrawArcSegment(QPainter& canvas, int cx, int cy, double R, double start, double sweep,
                    double penWidth) {
  setPenWidth(canvas, Truncated(penWidth));
  const ArcGeometry arc = ArcSegmentGeometry(cx, cy, R, start, sweep);
  canvas.drawArc(arc.box, arc.startAngle, arc.spanAngle);
}

void DrawRadialText(QPainter& canvas, int cx, int cy, int R, int angle, int height,
                    const QString& text, const QColor& colour) {
  canvas.setFont(RadialTextFont(height));
  canvas.setPen(colour);
  const QFontMetrics metrics = canvas.fontMetrics();
  const QSize extent(metrics.horizontalAdvance(text), metrics.height());
  canvas.save();
  canvas.translate(RadialTextOrigin(cx, cy, R, angle, extent));
  canvas.rotate(RadialTextRotation(angle));
  canvas.drawText(0, metrics.ascent(), text);
  canvas.restore();
}

void DrawDial(QPainter& canvas, QSize client, const ChannelRecord& channel, int kind) {
  DrawDialReading(canvas, client, kind, ReadDial(channel, kind));
}

void DrawDialReading(QPainter& canvas, QSize client, int kind, const DialReading& reading) {
  const DialGeometry g = DialGeometryFor(client, kind);
  if (!g.band.isEmpty())
    canvas.fillRect(g.band, ButtonFaceColour());
  canvas.fillRect(g.panel, PanelColour(reading.setPoint));
  drawBezel(canvas, g);
  drawSquare(canvas, g, g.frameInner, ToQColor(kBlue));
  drawSquare(canvas, g, g.frameOuter, ToQColor(kWhite));
  drawScrews(canvas, g);
  drawScale(canvas, g, reading.fullScale);
  // The value is always there: a reading of exactly -1 is a real one.
  drawNeedle(canvas, g, NeedleAngle(reading.value, reading.fullScale), ToQColor(kRed), g.valueHub);
  if (reading.setPoint != kNoSetPoint) {
    drawNeedle(canvas, g, NeedleAngle(reading.setPoint, reading.fullScale), ToQColor(kBlue),
               g.setPointHub);
  }
  drawDot(canvas, {g.cx, g.cy}, g.cap, ToQColor(kWhite));
  DrawRadialText(canvas, g.unitCentre.x(), g.unitCentre.y(), 0, kTopAngle, g.unitHeight,
                 reading.letter, ToQColor(kBlack));
  drawReadout(canvas, g, reading);
}
