#include <QAction>
#include <QShowEvent>
#include <QtTest/QTest>

#include "common/ini_file.h"
#include "common/settings_record.h"
#include "settings/settings.h"
#include "tests/support/children.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/graphs/graphs.h"
#include "ui/graphs/unitgra.h"
#include "ui/instruments/instruments.h"
#include "ui/instruments/unitdev.h"
#include "ui/macro/macro_editor.h"
#include "ui/macro/unitqvml.h"
#include "ui/main/child_window.h"
#include "ui/main/fonts.h"
#include "ui/memory/memory_window.h"
#include "ui/memory/unitmem.h"

using namespace qv;

namespace {

// Records the child windows in the order they are first shown.
class ShowOrder : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* window = qobject_cast<ChildWindow*>(watched)) {
        if (window->kind() && !shown.contains(*window->kind()))
          shown << *window->kind();
      }
    }
    return false;
  }
  QList<ChildKind> shown;
};

class ProgramWindows : public MainWindowTest {
 protected:
  ProgramWindows() {
    InstallFontSubstitutions();
    RegisterInstrumentWindows();
    RegisterGraphWindows();
    RegisterMemoryWindow();
    RegisterMacroEditorWindow();
    qApp->installEventFilter(&order);
  }
  ~ProgramWindows() override {
    qApp->removeEventFilter(&order);
    for (const ChildWindowInfo& info : kChildWindows)
      delete ChildWindowInstance(info.kind);
  }

  QAction* menuItem(ChildKind kind) { return form->item(ChildInfo(kind).menuItem); }
  bool open(ChildKind kind) { return ChildWindowFlags[static_cast<int>(kind)].open; }

  ShowOrder order;
};

const QList<ChildKind> kAllInOrder{ChildKind::Dev,  ChildKind::Dev2, ChildKind::Gra,
                                   ChildKind::Gra2, ChildKind::Mem,  ChildKind::Qvml};

TEST_F(ProgramWindows, MaskOf63ReopensEveryWindowInOrderOnTheFirstTick) {
  WriteAll(SettingsFilePath(),
           "[COMMON]\r\nWnds=63\r\nMemPos=30,40,500,300\r\nDev2Pos=600,20,300,150\r\n");
  startMainWindow();
  timer1()->stop();
  form->Timer1Timer();
  EXPECT_EQ(order.shown, kAllInOrder);
  EXPECT_NE(qobject_cast<TFormDev*>(ChildWindowInstance(ChildKind::Dev)), nullptr);
  EXPECT_NE(qobject_cast<TFormDev*>(ChildWindowInstance(ChildKind::Dev2)), nullptr);
  EXPECT_NE(qobject_cast<TFormGra*>(ChildWindowInstance(ChildKind::Gra)), nullptr);
  EXPECT_NE(qobject_cast<TFormGra*>(ChildWindowInstance(ChildKind::Gra2)), nullptr);
  EXPECT_NE(qobject_cast<TFormMem*>(ChildWindowInstance(ChildKind::Mem)), nullptr);
  EXPECT_NE(qobject_cast<TFormQvml*>(ChildWindowInstance(ChildKind::Qvml)), nullptr);
  for (ChildKind kind : kAllInOrder)
    EXPECT_TRUE(menuItem(kind)->isChecked());
  // Each takes its stored place.
  EXPECT_EQ(ChildWindowInstance(ChildKind::Mem)->geometry(), QRect(30, 40, 500, 300));
}

TEST_F(ProgramWindows, ToggleClosesAtTheWindowsNextTickWithItsPositionStored) {
  startMainWindow();
  for (ChildKind kind : kAllInOrder) {
    menuItem(kind)->trigger();
    ChildWindow* window = ChildWindowInstance(kind);
    ASSERT_NE(window, nullptr);
    window->setGeometry(QRect(QPoint(70, 80), window->size()));
    menuItem(kind)->trigger();
    const QString stored = Settings.*ChildInfo(kind).positionKey;
    EXPECT_TRUE(stored.startsWith("70,80,")) << stored.toStdString();
    EXPECT_TRUE(open(kind));  // until its own tick
    EXPECT_TRUE(QTest::qWaitFor([&] { return !open(kind); }, 3000)) << ChildInfo(kind).menuItem;
    EXPECT_FALSE(menuItem(kind)->isChecked());
  }
}

TEST_F(ProgramWindows, ExitWritesTheMaskAndEveryPositionKey) {
  startMainWindow();
  timer1()->stop();
  int left = 10;
  for (ChildKind kind : kAllInOrder) {
    menuItem(kind)->trigger();
    ChildWindow* window = ChildWindowInstance(kind);
    window->setGeometry(QRect(QPoint(left, 25), window->size()));
    left += 10;
  }
  closeMainWindow();
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readInteger("COMMON", "Wnds", -1), 63);
  left = 10;
  for (const char* key : {"DevPos", "Dev2Pos", "GraPos", "Gra2Pos", "MemPos", "QvmlPos"}) {
    const QString value = ini.readString("COMMON", key, "");
    EXPECT_TRUE(value.startsWith(QStringLiteral("%1,25,").arg(left)))
        << key << " " << value.toStdString();
    left += 10;
  }
  for (ChildKind kind : kAllInOrder)
    EXPECT_FALSE(open(kind));
}

}  // namespace
