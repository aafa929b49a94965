#include <gtest/gtest.h>

#include "ui/main/window_layout.h"

using namespace qv;

namespace {

const QMargins kFrame(1, 20, 1, 1);  // a title bar and thin borders
const QRect kScreen(0, 0, 1600, 1000);

TEST(WindowLayout, KeptOnScreenMovesInAndShrinksOnlyWhenNeeded) {
  const struct Case {
    const char* what;
    QRect client;
    QRect kept;
  } cases[] = {
      {"inside stays", {200, 150, 400, 300}, {200, 150, 400, 300}},
      {"past the right edge moves left", {1500, 150, 400, 300}, {1199, 150, 400, 300}},
      {"above the top keeps its title bar on the screen",
       {200, -50, 400, 300},
       {200, 20, 400, 300}},
      {"too big shrinks to the screen", {0, 0, 2000, 1200}, {1, 20, 1598, 979}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeptOnScreen(c.client, kScreen, kFrame), c.kept) << c.what;
}

TEST(WindowLayout, StandardPlacesAroundTheMainWindowWithoutOverlapOnALargeScreen) {
  const QRect screen(0, 0, 2560, 1440);
  const QRect mainFrame(100, 100, 802, 521);
  QList<QRect> frames{mainFrame};
  for (const ChildWindowInfo& info : kChildWindows) {
    const QRect client = StandardPlace(info.kind, mainFrame, screen, kFrame);
    EXPECT_EQ(client.size(), info.firstSize) << info.menuItem;
    const QRect frame = client.marginsAdded(kFrame);
    EXPECT_TRUE(screen.contains(frame)) << info.menuItem;
    for (const QRect& other : frames)
      EXPECT_FALSE(frame.intersects(other)) << info.menuItem;
    frames << frame;
  }
  // The instruments of channel 1 right beside the main window, at its top.
  EXPECT_EQ(StandardPlace(ChildKind::Dev, mainFrame, screen, kFrame).topLeft(), QPoint(903, 120));
}

TEST(WindowLayout, AWindowBelowTheMainOneIsShortenedBeforeItCoversIt) {
  const QRect mainFrame(100, 100, 802, 521);
  const QRect screen(0, 0, 1600, 1050);
  const QRect graphs = StandardPlace(ChildKind::Gra, mainFrame, screen, kFrame);
  EXPECT_EQ(graphs.top(), 641);          // below the main window's frame and its own title bar
  EXPECT_EQ(graphs.bottom(), 1050 - 2);  // down to the screen's edge, above the border
  EXPECT_EQ(graphs.width(), ChildInfo(ChildKind::Gra).firstSize.width());
  // Where even that is too short, it keeps most of its size and moves up.
  const QRect low = StandardPlace(ChildKind::Gra, mainFrame, {0, 0, 1600, 900}, kFrame);
  EXPECT_EQ(low.height(), ChildInfo(ChildKind::Gra).firstSize.height() * 85 / 100);
}

TEST(WindowLayout, StandardPlacesStayOnASmallScreen) {
  const QRect small(0, 0, 1024, 768);
  for (const ChildWindowInfo& info : kChildWindows) {
    const QRect client = StandardPlace(info.kind, {0, 0, 802, 521}, small, kFrame);
    EXPECT_TRUE(small.contains(client.marginsAdded(kFrame))) << info.menuItem;
  }
}

TEST(WindowLayout, CascadeStepsByATitleBar) {
  const QRect first = CascadePlace(0, {400, 300}, kScreen, kFrame);
  const QRect second = CascadePlace(1, {400, 300}, kScreen, kFrame);
  EXPECT_EQ(first.topLeft(), QPoint(1, 20));
  EXPECT_EQ(second.topLeft() - first.topLeft(), QPoint(24, 24));
  EXPECT_TRUE(kScreen.contains(CascadePlace(60, {400, 300}, kScreen, kFrame).marginsAdded(kFrame)));
}

}  // namespace
