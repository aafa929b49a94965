#include <gtest/gtest.h>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QtTest/QTest>
#include <cmath>
#include <optional>

#include "acquisition/shared_state.h"
#include "common/palette.h"
#include "common/settings_record.h"
#include "tests/support/children.h"
#include "tests/support/pixels.h"
#include "tests/support/printers.h"
#include "tests/support/screenshot.h"
#include "tests/support/window_management.h"
#include "ui/instruments/dials.h"
#include "ui/instruments/instruments.h"
#include "ui/instruments/unitdev.h"
#include "ui/main/colours.h"
#include "ui/main/fonts.h"

using namespace qv;

namespace {

// Counts the times the window is painted.
class PaintCounter : public QObject {
 public:
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint)
      ++paints;
    return false;
  }
};

const ChildKind kKinds[2] = {ChildKind::Dev, ChildKind::Dev2};

class InstrumentsWindow : public ::testing::TestWithParam<int> {
 protected:
  InstrumentsWindow() {
    InstallFontSubstitutions();
    InitSharedState();
    resetWindows();
    RegisterInstrumentWindows();
    SetChildMenuCheck([this](ChildKind kind, bool checked) { menuChecks[kind] = checked; });
  }
  ~InstrumentsWindow() override {
    for (ChildKind kind : kKinds) {
      delete ChildWindowInstance(kind);
      RegisterChildWindow(kind, {});
    }
    SetChildMenuCheck({});
    resetWindows();
  }

  static void resetWindows() {
    ResetWindowManagement();
    RedrawCountdown[0] = RedrawCountdown[1] = 0;
    Settings.DevPos = kDefaultPosition;
    Settings.Dev2Pos = kDefaultPosition;
  }

  int channel() const { return GetParam(); }
  ChildKind kind() const { return kKinds[channel()]; }
  QString& position() { return channel() == 0 ? Settings.DevPos : Settings.Dev2Pos; }
  int countdown() const { return RedrawCountdown[channel()]; }

  // Opened from the menu as the main window does; the timer is left to the test.
  TFormDev* open() {
    ToggleChildWindow(kind());
    auto* window = qobject_cast<TFormDev*>(ChildWindowInstance(kind()));
    if (!window)
      return nullptr;
    Child<QTimer>(window, "Timer1")->stop();
    window->installEventFilter(&painted);
    return window;
  }
  bool activated(TFormDev* window) { return QTest::qWaitForWindowActive(window); }

  // One tick of the window's own timer.
  void tick(TFormDev* window) {
    QMetaObject::invokeMethod(Child<QTimer>(window, "Timer1"), "timeout");
    if (ChildWindowInstance(kind()))
      Child<QTimer>(window, "Timer1")->stop();
  }
  // Whether the window was painted since the last call.
  bool repainted() {
    QCoreApplication::processEvents();
    const bool was = painted.paints > seenPaints;
    seenPaints = painted.paints;
    return was;
  }

  PaintCounter painted;
  int seenPaints = 0;
  QMap<ChildKind, bool> menuChecks;
};

INSTANTIATE_TEST_SUITE_P(Channels, InstrumentsWindow, ::testing::Values(0, 1));

TEST_P(InstrumentsWindow, OpensWithTheDefaultPositionAndIsCutToHalfItsWidth) {
  TFormDev* window = open();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->channel(), channel());
  EXPECT_EQ(window->windowTitle(), channel() == 0 ? "Приборы 1 канала" : "Приборы 2 канала");
  EXPECT_EQ(window->geometry(), QRect(100, 100, 100, 100));  // the client area
  EXPECT_TRUE(menuChecks[kind()]);
  EXPECT_EQ(countdown(), 2);
  ASSERT_TRUE(activated(window));
  EXPECT_EQ(window->size(), QSize(100, 50));
}

TEST_P(InstrumentsWindow, ADraggedBorderIsFollowedAtTheSecondTick) {
  position() = "100,100,426,213";
  TFormDev* window = open();
  ASSERT_TRUE(activated(window));
  repainted();

  window->resize(600, 500);
  EXPECT_TRUE(repainted());
  EXPECT_EQ(countdown(), 2);
  EXPECT_EQ(window->height(), 500);  // the height waits

  struct Step {
    int countdown;
    int height;
    bool redrawn;
  };
  const Step steps[] = {
      {1, 500, false},  {2, 300, true},  // fixed; the resize restarts the count
      {1, 300, false},  {0, 300, true},  // drawn once more
      {-1, 300, false}, {-2, 300, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.countdown);
    tick(window);
    EXPECT_EQ(countdown(), step.countdown);
    EXPECT_EQ(window->size(), QSize(600, step.height));
    EXPECT_EQ(repainted(), step.redrawn);
  }
  // The other channel's count is its own.
  EXPECT_EQ(RedrawCountdown[1 - channel()], 0);
}

TEST_P(InstrumentsWindow, ActivationFixesTheHeightAndRedraws) {
  position() = "100,100,427,300";
  TFormDev* window = open();
  ASSERT_TRUE(activated(window));
  EXPECT_EQ(window->size(), QSize(427, 213));
  repainted();

  window->resize(427, 400);
  QEvent activate(QEvent::WindowActivate);
  QCoreApplication::sendEvent(window, &activate);
  EXPECT_EQ(window->size(), QSize(427, 213));

  repainted();
  const int before = countdown();
  QCoreApplication::sendEvent(window, &activate);  // the height is right already
  EXPECT_TRUE(repainted());
  EXPECT_EQ(countdown(), before);
}

TEST_P(InstrumentsWindow, NewSamplesWaitForTheNextRedraw) {
  position() = "100,100,426,213";
  TFormDev* window = open();
  ASSERT_TRUE(activated(window));
  repainted();
  ChannelRecord& data = ChannelData[channel()];
  data.DialFlags = kDialShowsSample;
  data.Count = 1;
  data.Current[0] = 5;
  EXPECT_FALSE(repainted());

  // When the window system asks, the dials are drawn from the data as it is.
  const QImage image = window->grab().toImage();
  const DialGeometry g = DialGeometryFor(window->size(), kCurrentDial);
  EXPECT_EQ(image.pixelColor(RadialPoint(g.cx, g.cy, g.r * 0.45, 405)), QColor(255, 0, 0));
}

TEST_P(InstrumentsWindow, ClosesAtItsTickWhenAskedAndStoresItsPosition) {
  position() = "120,80,426,213";
  TFormDev* window = open();
  ASSERT_TRUE(activated(window));
  window->setGeometry(QRect(QPoint(130, 90), window->size()));
  tick(window);
  EXPECT_TRUE(ChildWindowFlags[static_cast<int>(kind())].open);

  ToggleChildWindow(kind());  // the menu item again
  tick(window);
  EXPECT_FALSE(ChildWindowFlags[static_cast<int>(kind())].open);
  EXPECT_FALSE(menuChecks[kind()]);
  EXPECT_EQ(position(), "130,90,426,213");
  EXPECT_EQ(ChildWindowInstance(kind()), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  // The count outlives the window and starts again with the next one.
  RedrawCountdown[channel()] = -7;
  ASSERT_NE(open(), nullptr);
  EXPECT_EQ(countdown(), 2);
}

TEST_P(InstrumentsWindow, ProgramExitClosesItAtItsTick) {
  TFormDev* window = open();
  ProgramClosing = true;
  tick(window);
  EXPECT_FALSE(ChildWindowFlags[static_cast<int>(kind())].open);
}

// A needle as drawn: the pixels of its colour between the hub and the scale,
// the readout aside, with no angle for a dial that has no such needle.
struct Needle {
  int dial;
  QColor colour;
  std::optional<double> degrees;  // clockwise on screen from the right
};

// Scales start at the lower left (135 degrees) and sweep 270 degrees clockwise.
double scaleDegrees(double value, double fullScale) {
  return 135 + value / fullScale * 270;
}

void expectNeedle(const QImage& image, QSize client, const Needle& needle) {
  const DialGeometry g = DialGeometryFor(client, needle.dial);
  // Beyond the hubs, short of the scale's ticks; half the needle's width
  // plus rounding either side of its ray.
  const double nearest = 0.3 * g.r;
  const double farthest = 0.95 * g.r;
  const double halfWidth = g.needleWidth / 2.0 + 1.5;
  const double a = needle.degrees.value_or(0) * M_PI / 180;
  int onRay = 0;
  int astray = 0;
  QPoint firstAstray;
  for (int y = g.cy - g.r; y <= g.cy + g.r; ++y) {
    for (int x = g.cx - g.r; x <= g.cx + g.r; ++x) {
      const double dx = x + 0.5 - g.cx;
      const double dy = y + 0.5 - g.cy;
      const double distance = std::hypot(dx, dy);
      if (distance < nearest || distance > farthest || g.readoutBorder.contains(x, y) ||
          !SameColour(image.pixelColor(x, y), needle.colour))
        continue;
      const double along = dx * std::cos(a) + dy * std::sin(a);
      const double across = std::abs(dy * std::cos(a) - dx * std::sin(a));
      if (needle.degrees && along > 0 && across <= halfWidth) {
        ++onRay;
      } else if (astray++ == 0) {
        firstAstray = {x, y};
      }
    }
  }
  EXPECT_EQ(astray, 0) << "first at " << firstAstray.x() << "," << firstAstray.y();
  if (!needle.degrees)
    return;
  // The whole length shows, past the unit's letter, which may cover it.
  for (const double reach : {0.6, 0.7, 0.8, 0.88}) {
    const QPoint point = RadialPoint(g.cx, g.cy, reach * g.r, *needle.degrees);
    EXPECT_TRUE(ColourNear(image, point, needle.colour, 1))
        << reach << " of the radius, at " << point.x() << "," << point.y();
  }
  EXPECT_GT(onRay, g.needleWidth * 0.3 * g.r);
}

TEST_P(InstrumentsWindow, Screenshot) {
  position() = "100,100,426,213";
  ChannelRecord& data = ChannelData[channel()];
  data.Count = 2;
  data.Current[1] = channel() == 0 ? 2.35 : 0.8;
  data.Voltage[1] = channel() == 0 ? 12.6 : 7.2;
  data.DialFlags = kDialShowsSample | (channel() == 0 ? 0 : kDialVoltageSetPoint);
  data.CurrentSetPoint = 3;
  data.VoltageSetPoint = 8.4f;
  TFormDev* window = open();
  ASSERT_TRUE(activated(window));
  const QString name = QStringLiteral("instruments_%1").arg(channel() + 1);
  const QImage image = SavedScreenshot(*window, name);
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.size(), window->size());

  // Red for the value on a 5 A and a 30 V scale, blue for the set point the
  // channel has, on the dial of its kind only; that dial's face is yellow.
  const QColor red = ToQColor(kRed);
  const QColor blue = ToQColor(kBlue);
  const bool currentSet = channel() == 0;
  const std::optional<double> none;
  const Needle needles[] = {
      {kCurrentDial, red, scaleDegrees(data.Current[1], 5)},
      {kVoltageDial, red, scaleDegrees(data.Voltage[1], 30)},
      {kCurrentDial, blue, currentSet ? scaleDegrees(3, 5) : none},
      {kVoltageDial, blue, currentSet ? none : scaleDegrees(8.4, 30)},
  };
  for (const Needle& needle : needles) {
    SCOPED_TRACE(testing::Message()
                 << "dial " << needle.dial << " needle " << needle.colour.name().toStdString());
    expectNeedle(image, window->size(), needle);
  }
  for (const int dial : {kCurrentDial, kVoltageDial}) {
    const bool setPoint = (dial == kCurrentDial) == currentSet;
    const QPoint corner = DialGeometryFor(window->size(), dial).panel.topLeft();
    EXPECT_EQ(image.pixelColor(corner), ToQColor(setPoint ? kYellow : DialFaceColour)) << dial;
  }
}

}  // namespace
