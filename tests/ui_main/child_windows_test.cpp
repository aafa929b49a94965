#include <QAction>
#include <QtTest/QTest>

#include "common/ini_file.h"
#include "common/settings_record.h"
#include "settings/settings.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/main/child_window.h"

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
  form->Timer1->stop();
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
  form->Timer1->stop();
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
  form->Timer1->stop();
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
  EXPECT_EQ(window->pos(), QPoint(30, 40));
  EXPECT_EQ(window->size(), QSize(300, 200));
  EXPECT_TRUE(menuItem(ChildKind::Mem)->isChecked());

  window->move(55, 66);
  menuItem(ChildKind::Mem)->trigger();
  EXPECT_EQ(Settings.MemPos, "55,66,300,200");  // stored at once
  EXPECT_TRUE(flags(ChildKind::Mem).closeRequested);
  EXPECT_TRUE(flags(ChildKind::Mem).open);
  EXPECT_TRUE(menuItem(ChildKind::Mem)->isChecked());  // until it really closes
  // Chosen again before the tick: the position again, nothing else.
  window->move(57, 68);
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
  form->Timer1->stop();
  for (ChildKind kind : {ChildKind::Dev, ChildKind::Gra2, ChildKind::Qvml}) {
    menuItem(kind)->trigger();
    ChildWindowInstance(kind)->move(10 + static_cast<int>(kind), 20);
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

TEST_F(ChildWindows, ProgramClosingClosesAWindowAtItsTick) {
  startMainWindow();
  menuItem(ChildKind::Gra)->trigger();
  ProgramClosing = true;
  EXPECT_TRUE(closesByItself(ChildKind::Gra));
}

}  // namespace
