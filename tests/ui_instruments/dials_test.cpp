#include "ui/instruments/dials.h"

#include <gtest/gtest.h>
#include <QFontMetrics>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QTransform>
#include <cmath>

#include "acquisition/shared_state.h"
#include "tests/support/printers.h"
#include "ui/main/fonts.h"

using namespace qv;

// Failures name the colour.
static void PrintTo(const QColor& colour, std::ostream* os) {
  *os << colour.name().toStdString();
}

namespace {

// A filled area (x1, y1)-(x2, y2) without its right and bottom edges.
QRect Area(int x1, int y1, int x2, int y2) {
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

// The colours as the dials must show them, written out here on purpose.
const QColor yellow(255, 255, 0);
const QColor blue(0, 0, 255);
const QColor red(255, 0, 0);
const QColor dialFace(160, 240, 240);
const QColor kUnpainted(255, 0, 255);

class Dials : public ::testing::Test {
 protected:
  Dials() {
    InstallFontSubstitutions();
    InitSharedState();
  }
  ~Dials() override { QLocale::setDefault(QLocale::c()); }

  ChannelRecord& channel = ChannelData[0];
};

// Both dials of channel 1 drawn for a client area, on a larger image whose
// untouched pixels stay magenta.
QImage RenderDials(QSize client, QSize image) {
  QImage canvas(image, QImage::Format_RGB32);
  canvas.fill(kUnpainted);
  QPainter painter(&canvas);
  DrawDial(painter, client, ChannelData[0], kCurrentDial);
  DrawDial(painter, client, ChannelData[0], kVoltageDial);
  return canvas;
}

QColor PixelAt(const QImage& image, QPoint p) {
  return image.pixelColor(p);
}

// A point of the panel between the bezel and the frame, clear of the screws.
QPoint PanelPoint(const DialGeometry& g) {
  return {g.cx - Truncated(g.r * 0.96), g.cy - Truncated(g.r * 0.6)};
}

TEST_F(Dials, GeometryOfA426WideWindow) {
  struct Case {
    int kind;
    int cx;
    QRect panel;
    QRect border;
    QRect window;
  };
  const Case cases[] = {
      {kCurrentDial, 106, Area(0, 0, 213, 213), Area(76, 144, 135, 185), Area(78, 146, 133, 183)},
      {kVoltageDial, 319, Area(213, 0, 426, 213), Area(289, 144, 348, 185),
       Area(291, 146, 346, 183)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const DialGeometry g = DialGeometryFor({426, 213}, c.kind);
    EXPECT_EQ(g.hw, 213);
    EXPECT_EQ(g.q, 106);
    EXPECT_EQ(g.r, 99);
    EXPECT_EQ(QPoint(g.cx, g.cy), QPoint(c.cx, 106));
    EXPECT_EQ(g.panel, c.panel);
    EXPECT_TRUE(g.band.isEmpty());
    EXPECT_EQ(g.penWidth, 2);
    EXPECT_EQ(g.frameInner, 102);
    EXPECT_EQ(g.frameOuter, 104);
    EXPECT_EQ(g.screwOffset, 89);
    EXPECT_EQ(g.screwRim, 19);
    EXPECT_EQ(g.screwHead, 17);
    EXPECT_EQ(g.slot, 3);
    EXPECT_EQ(g.numberRadius, 69);
    EXPECT_EQ(g.majorNumberHeight, 23);
    EXPECT_EQ(g.mediumNumberHeight, 19);
    EXPECT_EQ(g.needleWidth, 4);
    EXPECT_EQ(g.valueHub, 35);
    EXPECT_EQ(g.setPointHub, 27);
    EXPECT_EQ(g.cap, 19);
    EXPECT_EQ(g.unitHeight, 39);
    EXPECT_EQ(g.unitCentre, QPoint(c.cx, 71));
    EXPECT_EQ(g.readoutBorder, c.border);
    EXPECT_EQ(g.readoutWindow, c.window);
    EXPECT_EQ(g.readoutHeight, 24);
    EXPECT_EQ(g.valueTextCentre, QPoint(c.cx, 155));
    EXPECT_EQ(g.setPointTextCentre, QPoint(c.cx, 175));
  }
}

TEST_F(Dials, GeometryOfTheDefaultWindowCutToHalfItsWidth) {
  const DialGeometry current = DialGeometryFor({100, 50}, kCurrentDial);
  const DialGeometry voltage = DialGeometryFor({100, 50}, kVoltageDial);
  EXPECT_EQ(current.hw, 50);
  EXPECT_EQ(current.q, 25);
  EXPECT_EQ(current.r, 23);
  EXPECT_EQ(QPoint(current.cx, current.cy), QPoint(25, 25));
  EXPECT_EQ(QPoint(voltage.cx, voltage.cy), QPoint(75, 25));
  // Thin enough that the pens become one-pixel ones.
  EXPECT_EQ(current.penWidth, 0);
  EXPECT_EQ(current.needleWidth, 1);
  EXPECT_EQ(current.frameInner, 23);
  EXPECT_EQ(current.frameOuter, 24);
  EXPECT_EQ(current.numberRadius, 16);
}

TEST_F(Dials, OddWidthsLeaveTheLastColumnAndTallWindowsGetABand) {
  const DialGeometry odd = DialGeometryFor({427, 213}, kVoltageDial);
  EXPECT_EQ(odd.hw, 213);
  EXPECT_EQ(odd.cx, 319);
  EXPECT_EQ(odd.panel.right(), 425);
  EXPECT_TRUE(DialGeometryFor({426, 213}, kCurrentDial).band.isEmpty());
  EXPECT_EQ(DialGeometryFor({426, 300}, kCurrentDial).band, Area(0, 213, 426, 300));
}

TEST_F(Dials, DegenerateWindowsGiveZeroSizes) {
  const DialGeometry g = DialGeometryFor({0, 0}, kCurrentDial);
  EXPECT_EQ(g.r, 0);
  EXPECT_TRUE(g.panel.isEmpty());
  QImage image(10, 10, QImage::Format_RGB32);
  QPainter painter(&image);
  DrawDial(painter, {0, 0}, channel, kCurrentDial);  // must not fail
  DrawDial(painter, {3, 1}, channel, kVoltageDial);
}

struct Number {
  int index;
  int angle;  // truncated
  TickClass kind;
  QString text;
};

void ExpectScale(double fullScale, int ticks, const QVector<Number>& numbers) {
  const QVector<ScaleTick> scale = DialScale(fullScale);
  ASSERT_EQ(scale.size(), ticks);
  QVector<Number> numbered;
  for (const ScaleTick& tick : scale) {
    if (tick.kind == TickClass::Minor) {
      EXPECT_TRUE(tick.number.isEmpty()) << tick.index;
      continue;
    }
    numbered.push_back({tick.index, Truncated(tick.angle), tick.kind, tick.number});
  }
  ASSERT_EQ(numbered.size(), numbers.size());
  for (int k = 0; k < numbers.size(); ++k) {
    SCOPED_TRACE(numbers[k].index);
    EXPECT_EQ(numbered[k].index, numbers[k].index);
    EXPECT_EQ(numbered[k].angle, numbers[k].angle);
    EXPECT_EQ(numbered[k].kind, numbers[k].kind);
    EXPECT_EQ(numbered[k].text, numbers[k].text);
  }
}

constexpr TickClass M = TickClass::Major;
constexpr TickClass m = TickClass::Medium;

TEST_F(Dials, CurrentScaleAccumulatesItsAngles) {
  // The last five fall a degree short of the multiples of 27.
  ExpectScale(ReadDial(channel, kCurrentDial).fullScale, 51,
              {{0, 135, M, "0"},
               {5, 162, m, "0.5"},
               {10, 189, M, "1"},
               {15, 216, m, "1.5"},
               {20, 243, M, "2"},
               {25, 270, m, "2.5"},
               {30, 296, M, "3"},
               {35, 323, m, "3.5"},
               {40, 350, M, "4"},
               {45, 377, m, "4.5"},
               {50, 404, M, "5"}});
}

TEST_F(Dials, VoltageScaleHasWholeMediumNumbers) {
  ExpectScale(ReadDial(channel, kVoltageDial).fullScale, 31,
              {{0, 135, M, "0"},
               {5, 180, m, "5"},
               {10, 225, M, "10"},
               {15, 270, m, "15"},
               {20, 315, M, "20"},
               {25, 360, m, "25"},
               {30, 405, M, "30"}});
}

TEST_F(Dials, ScaleNumbersUseTheLocaleSeparator) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  const QVector<ScaleTick> scale = DialScale(5);
  EXPECT_EQ(scale[5].number, "0,5");
  EXPECT_EQ(scale[45].number, "4,5");
  EXPECT_EQ(scale[50].number, "5");
}

TEST_F(Dials, TicksGetShorterFromMajorToMinor) {
  const DialGeometry g = DialGeometryFor({426, 213}, kCurrentDial);
  for (const ScaleTick& tick : DialScale(5)) {
    const double inner = tick.kind == TickClass::Major    ? 0.79
                         : tick.kind == TickClass::Medium ? 0.83
                                                          : 0.87;
    const QLine line = TickLine(g, tick);
    EXPECT_NEAR(std::hypot(line.dx(), line.dy()), g.r * (0.9 - inner), 1.5) << tick.index;
    // The outer end lies on the circle of 0.9 r.
    EXPECT_NEAR(std::hypot(line.x2() - g.cx, line.y2() - g.cy), g.r * 0.9, 1.5) << tick.index;
  }
}

TEST_F(Dials, NeedlesPastTheScaleAreNotClamped) {
  const DialGeometry g = DialGeometryFor({426, 213}, kCurrentDial);
  const double angle = NeedleAngle(6, 5);
  EXPECT_NEAR(angle / DegToRad, 459, 1e-9);
  const QLine needle = NeedleLine(g, angle);
  // 99 degrees: just left of straight down.
  EXPECT_EQ(needle.p2(), QPoint(92, 194));
  EXPECT_EQ(needle.p1(), QPoint(109, 86));
  EXPECT_NEAR(NeedleAngle(0, 30) / DegToRad, 135, 1e-9);
  EXPECT_NEAR(NeedleAngle(30, 30) / DegToRad, 405, 1e-9);
}

TEST_F(Dials, BezelShadesUpThenDown) {
  QVector<int> expected;
  for (int g = 15; g <= 240; g += 15)
    expected << g;
  for (int g = 225; g >= -15; g -= 15)
    expected << g;
  EXPECT_EQ(BezelGreyLevels(), expected);
}

TEST_F(Dials, ArcSegmentRunsBackFromItsStart) {
  const ArcGeometry arc = ArcSegmentGeometry(106, 106, 99, 90, -11);
  EXPECT_EQ(arc.box, Area(7, 7, 205, 205));
  EXPECT_EQ(arc.startAngle, -90 * 16);
  EXPECT_EQ(arc.spanAngle, 11 * 16);
  // Counterclockwise from start to start + sweep: a positive sweep is the long way.
  EXPECT_EQ(ArcSegmentGeometry(0, 0, 10, 0, 11).spanAngle, 349 * 16);
}

TEST_F(Dials, RadialTextIsCentredOnItsCircleTopsOutward) {
  const QSize extent(30, 20);
  struct Case {
    int angle;
    int rotation;
  };
  for (const Case& c :
       {Case{-90, 0}, Case{0, 90}, Case{135, 225}, Case{270, 360}, Case{404, 494}}) {
    SCOPED_TRACE(c.angle);
    EXPECT_EQ(RadialTextRotation(c.angle), c.rotation);
    const QPoint origin = RadialTextOrigin(106, 106, 69, c.angle, extent);
    QTransform placed;
    placed.translate(origin.x(), origin.y());
    placed.rotate(RadialTextRotation(c.angle));
    const QPointF centre = placed.map(QPointF(15, 10));
    const QPoint expected = RadialPoint(106, 106, 69, c.angle);
    EXPECT_NEAR(centre.x(), expected.x(), 1.5);
    EXPECT_NEAR(centre.y(), expected.y(), 1.5);
    // The text's top edge is farther from the centre than its baseline.
    const QPointF top = placed.map(QPointF(15, 0));
    EXPECT_GT(std::hypot(top.x() - 106, top.y() - 106), 69 + 5);
  }
  // Radius 0 at the top: centred, one pixel high as the short degree factor
  // leaves sin(-90) a hair above -1.
  EXPECT_EQ(RadialTextOrigin(106, 155, 0, -90, extent), QPoint(91, 144));
}

TEST_F(Dials, TextHeightIsTheCellHeight) {
  for (int height : {19, 23, 24, 39}) {
    const QFont font = RadialTextFont(height);
    EXPECT_TRUE(font.bold());
    EXPECT_NEAR(QFontMetrics(font).height(), height, 1) << height;
  }
  EXPECT_EQ(RadialTextFont(0).pixelSize(), -1);  // the default size
}

TEST_F(Dials, ReadingsFollowTheFlags) {
  channel.Count = 3;
  channel.Current[2] = 2.345;
  channel.Voltage[2] = 12.6;
  channel.Current[3] = 9;  // live values beyond Count are not shown
  channel.CurrentSetPoint = 1.5f;
  channel.VoltageSetPoint = 14.4f;
  struct Case {
    uint8_t flags;
    int count;
    double current, voltage, currentSetPoint, voltageSetPoint;
  };
  const Case cases[] = {
      {0x00, 3, 0, 0, 1.5, kNoSetPoint},  {0x01, 3, 2.345, 12.6, 1.5, kNoSetPoint},
      {0x01, 0, 0, 0, 1.5, kNoSetPoint},  // no sample recorded yet
      {0x10, 3, 0, 0, kNoSetPoint, 14.4}, {0x11, 3, 2.345, 12.6, kNoSetPoint, 14.4},
      {0xFE, 3, 0, 0, kNoSetPoint, 14.4},  // only bits 0 and 4 count
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.flags) << " count " << c.count);
    channel.DialFlags = c.flags;
    channel.Count = c.count;
    const DialReading current = ReadDial(channel, kCurrentDial);
    const DialReading voltage = ReadDial(channel, kVoltageDial);
    EXPECT_DOUBLE_EQ(current.value, c.current);
    EXPECT_DOUBLE_EQ(voltage.value, c.voltage);
    EXPECT_NEAR(current.setPoint, c.currentSetPoint, 1e-6);
    EXPECT_NEAR(voltage.setPoint, c.voltageSetPoint, 1e-6);
  }
  EXPECT_EQ(ReadDial(channel, kCurrentDial).letter, "A");
  EXPECT_EQ(ReadDial(channel, 7).letter, "V");  // any other kind is the voltmeter
  EXPECT_EQ(ReadDial(channel, 7).fullScale, 30);
}

TEST_F(Dials, TheWindowShowsTheNewestSampleOrElseTheLiveElement) {
  channel.Count = 3;
  channel.Current[2] = 2.345;  // newest recorded sample
  channel.Current[3] = 0.75;   // live values of an idle channel
  channel.Voltage[3] = 8.25;
  channel.CurrentSetPoint = static_cast<float>(kNoSetPoint);
  channel.DialFlags = kDialShowsSample;  // recording
  EXPECT_DOUBLE_EQ(LiveDialReading(channel, kCurrentDial).value, 2.345);
  channel.DialFlags = 0;  // idle
  EXPECT_DOUBLE_EQ(LiveDialReading(channel, kCurrentDial).value, 0.75);
  EXPECT_DOUBLE_EQ(LiveDialReading(channel, kVoltageDial).value, 8.25);
  EXPECT_EQ(LiveDialReading(channel, kCurrentDial).setPoint, kNoSetPoint);
  channel.Count = kSeriesCapacity;  // never past the series
  channel.Current[kSeriesCapacity - 1] = 1.25;
  EXPECT_DOUBLE_EQ(LiveDialReading(channel, kCurrentDial).value, 1.25);
}

TEST_F(Dials, ACountPastTheSeriesShowsItsLastElement) {
  channel.DialFlags = kDialShowsSample;
  channel.Count = kSeriesCapacity + 5;
  channel.Voltage[kSeriesCapacity - 1] = 7.5;
  EXPECT_DOUBLE_EQ(ReadDial(channel, kVoltageDial).value, 7.5);
}

TEST_F(Dials, ReadoutTexts) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  EXPECT_EQ(ValueText(0), "0,00");
  EXPECT_EQ(ValueText(6), "6,00");
  EXPECT_EQ(ValueText(-1.234), "-1,23");
  EXPECT_EQ(SetPointText(2.5), "2,50");
  EXPECT_EQ(SetPointText(0), "0,00");
  // Below zero, absent included, it is the literal with a full stop.
  EXPECT_EQ(SetPointText(-0.5), "0.00");
  EXPECT_EQ(SetPointText(kNoSetPoint), "0.00");
}

TEST_F(Dials, PanelColoursFollowTheSetPoint) {
  const DialGeometry current = DialGeometryFor({426, 300}, kCurrentDial);
  const DialGeometry voltage = DialGeometryFor({426, 300}, kVoltageDial);
  struct Case {
    uint8_t flags;
    float currentSetPoint;
    QColor currentPanel, voltagePanel;
  };
  const Case cases[] = {
      {0x00, 0, yellow, dialFace},      // the start values
      {0x00, -0.5f, yellow, dialFace},  // present though negative
      {0x00, -1, dialFace, dialFace},   // -1 means absent
      {0x10, 0, dialFace, yellow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.flags) << " " << c.currentSetPoint);
    channel.DialFlags = c.flags;
    channel.CurrentSetPoint = c.currentSetPoint;
    const QImage image = RenderDials({426, 300}, {426, 300});
    EXPECT_EQ(PixelAt(image, PanelPoint(current)), c.currentPanel);
    EXPECT_EQ(PixelAt(image, PanelPoint(voltage)), c.voltagePanel);
    EXPECT_EQ(PixelAt(image, {200, 280}), ButtonFaceColour());
  }
}

TEST_F(Dials, TheBandIsLeftAloneWhenTheWindowIsNotTaller) {
  const QImage image = RenderDials({427, 213}, {427, 260});
  EXPECT_EQ(PixelAt(image, {200, 240}), kUnpainted);
  EXPECT_EQ(PixelAt(image, {426, 100}), kUnpainted);  // the last column of an odd width
}

// Colour of the needle pixel halfway between hub and readout along an angle.
QColor NeedleColour(const QImage& image, const DialGeometry& g, double degrees) {
  return PixelAt(image, RadialPoint(g.cx, g.cy, g.r * 0.45, degrees));
}

TEST_F(Dials, TheSetPointNeedleLiesOnTheValueNeedle) {
  const DialGeometry current = DialGeometryFor({426, 213}, kCurrentDial);
  const DialGeometry voltage = DialGeometryFor({426, 213}, kVoltageDial);
  // Start values: both at 135 degrees; only the ammeter has a set point.
  QImage image = RenderDials({426, 213}, {426, 213});
  EXPECT_EQ(NeedleColour(image, current, 135), blue);
  EXPECT_EQ(NeedleColour(image, voltage, 135), red);

  channel.DialFlags = kDialShowsSample | kDialVoltageSetPoint;
  channel.Count = 1;
  channel.Current[0] = 5;   // end of scale
  channel.Voltage[0] = -1;  // a real reading, not an absent one
  channel.VoltageSetPoint = 15;
  image = RenderDials({426, 213}, {426, 213});
  EXPECT_EQ(NeedleColour(image, current, 405), red);
  EXPECT_NE(NeedleColour(image, current, 135), blue);
  EXPECT_EQ(NeedleColour(image, voltage, 270), blue);
  EXPECT_EQ(NeedleColour(image, voltage, -1 * 9 + 135), red);
}

// Whether the area holds a pixel of the colour.
bool Holds(const QImage& image, const QRect& area, const QColor& colour) {
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (image.pixelColor(x, y) == colour)
        return true;
    }
  }
  return false;
}

TEST_F(Dials, ReadoutShowsValueInRedAboveSetPointInBlue) {
  const DialGeometry g = DialGeometryFor({426, 213}, kCurrentDial);
  const QImage image = RenderDials({426, 213}, {426, 213});
  const QRect inside = g.readoutWindow;
  const int middle = (g.valueTextCentre.y() + g.setPointTextCentre.y()) / 2;
  const QRect upper(inside.left(), inside.top(), inside.width(), middle - inside.top());
  const QRect lower(inside.left(), middle, inside.width(), inside.bottom() - middle);
  EXPECT_TRUE(Holds(image, upper, red));
  EXPECT_FALSE(Holds(image, upper, blue));
  EXPECT_TRUE(Holds(image, lower, blue));
  EXPECT_FALSE(Holds(image, lower, red));
  // The border is blue all round.
  EXPECT_EQ(image.pixelColor(g.readoutBorder.topLeft()), blue);
  EXPECT_EQ(image.pixelColor(g.readoutBorder.bottomRight()), blue);
  EXPECT_EQ(image.pixelColor(g.readoutWindow.bottomRight() + QPoint(1, 1)), blue);
}

}  // namespace
