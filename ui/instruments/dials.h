#pragma once

#include <QColor>
#include <QFont>
#include <QLine>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QVector>
#include <cstdint>

#include "acquisition/shared_state.h"

class QPainter;

// The two instruments of a channel: 1 is the ammeter, any other value the
// voltmeter.
enum DialKind : int { kCurrentDial = 1, kVoltageDial = 2 };

// The degree factor the dials were drawn with, kept for identical pixels.
inline constexpr double DegToRad = 0.0174532925;

// The background below the panels and of the window.
QColor ButtonFaceColour();

// What one dial shows.
struct DialReading {
  QString letter;
  double fullScale = 0;
  double value = 0;
  double setPoint = qv::kNoSetPoint;
};
DialReading ReadDial(const qv::ChannelRecord& channel, int kind);
// What the instruments window shows: the newest sample while the channel
// records, else its live element (Count), so the needles follow the charger
// also when nothing is recorded.
DialReading LiveDialReading(const qv::ChannelRecord& channel, int kind);
QString ValueText(double value);
QString SetPointText(double setPoint);
QColor PanelColour(double setPoint);

// Where everything of one dial goes for a client area; a filled rectangle
// covers its left and top edges, not its right and bottom ones.
struct DialGeometry {
  int hw = 0;  // half the client width: the side of each panel
  int q = 0;
  int r = 0;  // bezel radius
  int cx = 0;
  int cy = 0;
  QRect panel;
  QRect band;  // below both panels; empty unless the window is taller
  int penWidth = 0;
  double innerRingRadius = 0;
  int frameInner = 0;  // half-sides of the two frame squares
  int frameOuter = 0;
  int screwOffset = 0;
  int screwRim = 0;
  int screwHead = 0;
  int slot = 0;
  int numberRadius = 0;
  int majorNumberHeight = 0;
  int mediumNumberHeight = 0;
  int needleWidth = 0;
  int valueHub = 0;
  int setPointHub = 0;
  int cap = 0;
  int unitHeight = 0;
  QPoint unitCentre;
  QRect readoutBorder;
  QRect readoutWindow;
  int readoutHeight = 0;
  QPoint valueTextCentre;
  QPoint setPointTextCentre;
};
DialGeometry DialGeometryFor(QSize client, int kind);

// Truncated toward zero, as every pixel figure of the dials is.
int Truncated(double x);
// The point at the given distance and angle (degrees, clockwise on screen).
QPoint RadialPoint(int cx, int cy, double distance, double angle);

enum class TickClass { Major, Medium, Minor };
struct ScaleTick {
  int index = 0;
  double angle = 0;  // degrees, accumulated from 135
  TickClass kind = TickClass::Minor;
  QString number;  // empty on a minor tick
};
QVector<ScaleTick> DialScale(double fullScale);
QLine TickLine(const DialGeometry& g, const ScaleTick& tick);

// Radians; values beyond the scale are not clamped.
double NeedleAngle(double value, double fullScale);
QLine NeedleLine(const DialGeometry& g, double angle);

// Grey levels of the 33 bezel segments, lightest at the upper left.
QVector<int> BezelGreyLevels();

// An arc from the radial point at start counterclockwise on screen to the one
// at start + sweep, in the angles of QPainter::drawArc (1/16 degree).
struct ArcGeometry {
  QRect box;
  int startAngle = 0;
  int spanAngle = 0;
};
ArcGeometry ArcSegmentGeometry(int cx, int cy, double R, double start, double sweep);

// The bold narrow face of the dial texts with the given cell height in pixels;
// 0 leaves the default size.
QFont RadialTextFont(int height);
// Top-left corner of a text of the given extent centred at distance R and the
// given angle, its tops facing away from the centre.
QPoint RadialTextOrigin(int cx, int cy, int R, int angle, QSize extent);
// The clockwise rotation of such a text; 0 at the top.
int RadialTextRotation(int angle);

void DrawArcSegment(QPainter& canvas, int cx, int cy, double R, double start, double sweep,
                    double penWidth);
void DrawRadialText(QPainter& canvas, int cx, int cy, int R, int angle, int height,
                    const QString& text, const QColor& colour);
// One instrument of the channel on a client area of the given size.
void DrawDial(QPainter& canvas, QSize client, const qv::ChannelRecord& channel, int kind);
void DrawDialReading(QPainter& canvas, QSize client, int kind, const DialReading& reading);
