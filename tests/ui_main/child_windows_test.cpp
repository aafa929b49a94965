#include <QAction>
#include <QScreen>
#include <QtTest/QTest>

#include "common/ini_file.h"
#include "common/settings_record.h"
#include "settings/settings.h"
#include "tests/support/children.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/main/child_window.h"

using namespace qv;

namespace {

// Stands in for the real windows: it only records that it was made.
class TestWindow : public ChildWindow {
 public:
  TestWindow(ChildKind kind, QList<ChildKind>& created) : ChildWindow(kind) { created << kind; }
};

class ChildWindows : public MainWindowTest {
 protected:
  ChildWindows() {
    for (const ChildWindowInfo& info : kChildWindows) {
      const ChildKind kind = info.kind;
      RegisterChildWindow(kind, [this, kind] { return new TestWindow(kind, created); });
    }
  }
  ~ChildWindows() override {
    for (const ChildWindowInfo& info : kChildWindows) {
      if (ChildWindow* window = ChildWindowInstance(info.kind))
        delete window;
      RegisterChildWindow(info.kind, {});
    }
  }

  ChildWindowFlagsRecord& flags(ChildKind kind) { return ChildWindowFlags[static_cast<int>(kind)]; }
  QAction* menuItem(ChildKind kind) { return form->item(ChildInfo(kind).menuItem); }
  void firstTick() { form->Timer1Timer(); }
  // Waits for the child's own tick to close it.
  bool closesByItself(ChildKind kind) {
    return QTest::qWaitFor([&] { return !flags(kind).open; }, 3000);
  }

  QList<ChildKind> created;
};

TEST_F(ChildWindows, MaskOf63ReopensAllSixInOrder) {
  WriteAll(SettingsFilePath(), "[COMMON]\r\nWnds=63\r\n");
  startMainWindow();
  timer1()->stop();
  firstTick();
  EXPECT_EQ(created, (QList<ChildKind>{ChildKind::Dev, ChildKind::Dev2, ChildKind::Gra,
                                       ChildKind::Gra2, ChildKind::Mem, ChildKind::Qvml}));
  for (const ChildWindowInfo& info : kChildWindows) {
    EXPECT_TRUE(flags(info.kind).open);
    EXPECT_TRUE(menuItem(info.kind)->isChecked()) << info.menuItem;
  }
  // Only the first tick reopens.
  firstTick();
  EXPECT_EQ(created.size(), 6);
}

TEST_F(ChildWindows, HighBitsAreIgnoredAndDisappearAtExit) {
  WriteAll(SettingsFilePath(), "[COMMON]\r\nWnds=194\r\n");  // 0x80 + 0x40 + memory
  startMainWindow();
  timer1()->stop();
  firstTick();
  EXPECT_EQ(created, QList<ChildKind>{ChildKind::Mem});
  closeMainWindow();
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readInteger("COMMON", "Wnds", -1), 2);
}

TEST_F(ChildWindows, AWindowOpenedBeforeTheFirstTickIsToggledClosedByIt) {
  WriteAll(SettingsFilePath(), "[COMMON]\r\nWnds=32\r\n");
  startMainWindow();
  timer1()->stop();
  menuItem(ChildKind::Dev)->trigger();
  ASSERT_TRUE(flags(ChildKind::Dev).open);
  firstTick();
  EXPECT_TRUE(flags(ChildKind::Dev).closeRequested);
  EXPECT_TRUE(closesByItself(ChildKind::Dev));
}

TEST_F(ChildWindows, ToggleOpensAppliesThePositionAndClosesAtTheNextTick) {
  Settings.MemPos = "30, 40, 300, 200";
  WriteAll(SettingsFilePath(), "[COMMON]\r\nMemPos=30, 40, 300, 200\r\n");
  startMainWindow();
  menuItem(ChildKind::Mem)->trigger();
  ChildWindow* window = ChildWindowInstance(ChildKind::Mem);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->geometry(), QRect(30, 40, 300, 200));  // the client area
  EXPECT_TRUE(menuItem(ChildKind::Mem)->isChecked());

  window->setGeometry(55, 66, 300, 200);
  menuItem(ChildKind::Mem)->trigger();
  EXPECT_EQ(Settings.MemPos, "55,66,300,200");  // stored at once
  EXPECT_TRUE(flags(ChildKind::Mem).closeRequested);
  EXPECT_TRUE(flags(ChildKind::Mem).open);
  EXPECT_TRUE(menuItem(ChildKind::Mem)->isChecked());  // until it really closes
  // Chosen again before the tick: the position again, nothing else.
  window->setGeometry(57, 68, 300, 200);
  menuItem(ChildKind::Mem)->trigger();
  EXPECT_EQ(Settings.MemPos, "57,68,300,200");
  EXPECT_EQ(created.size(), 1);

  EXPECT_TRUE(closesByItself(ChildKind::Mem));
  EXPECT_FALSE(menuItem(ChildKind::Mem)->isChecked());
  EXPECT_EQ(ChildWindowInstance(ChildKind::Mem), nullptr);
  // And it opens anew.
  menuItem(ChildKind::Mem)->trigger();
  EXPECT_EQ(created.size(), 2);
}

TEST_F(ChildWindows, ExitWritesTheMaskAndEveryPosition) {
  startMainWindow();
  timer1()->stop();
  for (ChildKind kind : {ChildKind::Dev, ChildKind::Gra2, ChildKind::Qvml}) {
    menuItem(kind)->trigger();
    ChildWindow* window = ChildWindowInstance(kind);
    window->setGeometry(QRect(QPoint(10 + static_cast<int>(kind), 20), window->size()));
  }
  closeMainWindow();
  for (const ChildWindowInfo& info : kChildWindows)
    EXPECT_FALSE(flags(info.kind).open);
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readInteger("COMMON", "Wnds", -1), 0x20 + 0x04 + 0x01);
  EXPECT_TRUE(ini.readString("COMMON", "DevPos", "").startsWith("10,20,"));
  EXPECT_TRUE(ini.readString("COMMON", "Gra2Pos", "").startsWith("13,20,"));
  EXPECT_TRUE(ini.readString("COMMON", "QvmlPos", "").startsWith("15,20,"));
  EXPECT_EQ(ini.readString("COMMON", "GraPos", ""), "100, 100, 100, 100");
}

// The window system may add a frame: the stored numbers are the client
// area's, and applying them puts the client area there again, so nothing
// moves however often a window is toggled or the program restarted.
TEST_F(ChildWindows, AWindowStaysWhereItWasOverTogglesAndRestarts) {
  WriteAll(SettingsFilePath(), "[COMMON]\r\nMainPos=120,90,800,499\r\nDevPos=300,200,426,213\r\n");
  for (int restart = 0; restart < 3; ++restart) {
    startMainWindow();
    EXPECT_EQ(form->geometry().topLeft(), QPoint(120, 90)) << restart;
    for (int toggle = 0; toggle < 5; ++toggle) {
      menuItem(ChildKind::Dev)->trigger();
      EXPECT_EQ(ChildWindowInstance(ChildKind::Dev)->geometry(), QRect(300, 200, 426, 213));
      menuItem(ChildKind::Dev)->trigger();
      ASSERT_TRUE(closesByItself(ChildKind::Dev));
      EXPECT_EQ(Settings.DevPos, "300,200,426,213") << restart << " " << toggle;
    }
    closeMainWindow();
    form.reset();
  }
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readString("COMMON", "DevPos", ""), "300,200,426,213");
  EXPECT_TRUE(ini.readString("COMMON", "MainPos", "").startsWith("120,90,"));
}

TEST_F(ChildWindows, AWindowNeverPlacedOpensBesideTheMainWindowAtAReadableSize) {
  WriteAll(SettingsFilePath(), "[COMMON]\r\nMainPos=40,30,800,499\r\n");
  startMainWindow();
  menuItem(ChildKind::Gra)->trigger();
  menuItem(ChildKind::Dev)->trigger();
  const QRect main = form->frameGeometry();
  const QRect screen = form->screen()->availableGeometry();
  const QRect graphs = ChildWindowInstance(ChildKind::Gra)->geometry();
  const QRect dials = ChildWindowInstance(ChildKind::Dev)->geometry();
  EXPECT_EQ(graphs.size(), ChildInfo(ChildKind::Gra).firstSize);
  EXPECT_EQ(dials.size(), ChildInfo(ChildKind::Dev).firstSize);
  EXPECT_GT(dials.left(), main.right());  // beside it
  EXPECT_FALSE(graphs.intersects(main));
  EXPECT_FALSE(graphs.intersects(dials));
  EXPECT_TRUE(screen.contains(ChildWindowInstance(ChildKind::Gra)->frameGeometry()));
  EXPECT_EQ(Settings.GraPos.count(','), 3);
  EXPECT_NE(Settings.GraPos, kDefaultPosition);
}

TEST_F(ChildWindows, CascadeAndStandardLayoutKeepEveryWindowOnTheScreen) {
  startMainWindow();
  for (ChildKind kind : {ChildKind::Dev, ChildKind::Mem, ChildKind::Qvml})
    menuItem(kind)->trigger();
  const QRect screen = form->screen()->availableGeometry();
  form->item("N32")->trigger();
  QPoint previous(-1, -1);
  for (ChildKind kind : {ChildKind::Dev, ChildKind::Mem, ChildKind::Qvml}) {
    const QRect frame = ChildWindowInstance(kind)->frameGeometry();
    EXPECT_TRUE(screen.contains(frame));
    EXPECT_GT(frame.left(), previous.x());  // each further right and lower
    EXPECT_GT(frame.top(), previous.y());
    previous = frame.topLeft();
  }
  form->item("N33")->trigger();
  const QRect dials = ChildWindowInstance(ChildKind::Dev)->geometry();
  EXPECT_GT(dials.left(), form->frameGeometry().right());
  EXPECT_EQ(dials.size(), ChildInfo(ChildKind::Dev).firstSize);
  for (ChildKind kind : {ChildKind::Dev, ChildKind::Mem, ChildKind::Qvml})
    EXPECT_TRUE(screen.contains(ChildWindowInstance(kind)->frameGeometry()));
}

TEST_F(ChildWindows, ProgramClosingClosesAWindowAtItsTick) {
  startMainWindow();
  menuItem(ChildKind::Gra)->trigger();
  ProgramClosing = true;
  EXPECT_TRUE(closesByItself(ChildKind::Gra));
}

}  // namespace
