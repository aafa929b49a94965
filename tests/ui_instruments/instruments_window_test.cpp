#include <gtest/gtest.h>
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QtTest/QTest>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "tests/support/children.h"
#include "tests/support/printers.h"
#include "tests/support/screenshot.h"
#include "ui/instruments/dials.h"
#include "ui/instruments/instruments.h"
#include "ui/instruments/unitdev.h"
#include "ui/main/fonts.h"

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
    ProgramClosing = false;
    RedrawCountdown[0] = RedrawCountdown[1] = 0;
    for (ChildWindowFlagsRecord& flags : ChildWindowFlags)
      flags = {};
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
  EXPECT_FALSE(SaveScreenshot(*window, name).isEmpty());
}

}  // namespace
