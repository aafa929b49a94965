#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QtTest/QTest>

#include "acquisition/polling.h"
#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/cp1251.h"
#include "common/folders.h"
#include "common/ini_file.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "settings/settings.h"
#include "tests/support/children.h"
#include "tests/support/test_host.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/main/child_window.h"
#include "ui/main/front_panel.h"
#include "ui/main/panel_view.h"
#include "ui/main/program_host.h"
#include "ui/main/status_bar.h"
#include "ui/main/unavailable.h"
#include "ui/main/unitabout.h"

using namespace qv;

namespace {

using MainWindow = MainWindowTest;

TEST_F(MainWindow, MenuHoldsEveryItemWithItsCaptionAndShortcut) {
  startMainWindow();
  struct Row {
    const char* menu;
    const char* name;
    const char* caption;
    const char* shortcut;
    bool checkable;
  } rows[] = {
      {"Файл", "GRA1", "Открыть файл", "Ctrl+O", false},
      {"Файл", "N5", "Печать", "Ctrl+P", false},
      {"Файл", "N7", "Выход", "Alt+X", false},
      {"Работа", "N40", "Подключить ЗУ", "Ctrl+Z", true},
      {"Работа", "N41", "Демо режим (без ЗУ)", "Ctrl+M", true},
      {"Работа", "N25", "Пуск канала 1 ...", "Ctrl+F3", false},
      {"Работа", "N24", "Пуск канала 2 ...", "Ctrl+F4", false},
      {"Работа", "N26", "Паника (все остановить)", "Ctrl+Esc", false},
      {"Работа", "N22", "Диагноз аккумулятора", "Ctrl+D", false},
      {"Работа", "N30", "Диагноз по файлу GRA", "Ctrl+E", false},
      {"Вид", "N19", "Приборы 1 канал", "Ctrl+F5", true},
      {"Вид", "N14", "Приборы 2 канал", "Ctrl+F6", true},
      {"Вид", "N15", "Графики 1 канал", "Ctrl+F7", true},
      {"Вид", "N34", "Графики 2 канал", "Ctrl+F8", true},
      {"Вид", "N31", "Память", "Alt+M", true},
      {"Вид", "N35", "Редактор QVML", "Alt+R", true},
      {"Настройки", "N18", "Параметры программы", "Alt+P", false},
      {"Настройки", "N8", "Общие настройки ЗУ", "Alt+Z", false},
      {"Настройки", "N17", "Регулировка канала 1", "Ctrl+1", false},
      {"Настройки", "N21", "Регулировка канала 2", "Ctrl+2", false},
      {"Окна", "N32", "Каскад", "Ctrl+K", false},
      {"Окна", "N33", "Стандарт", "Ctrl+C", false},
      {"Помощь", "N10", "Эксплуатация", "Shift+F1", false},
      {"Помощь", "N9", "Теория", "Alt+F1", false},
      {"Помощь", "N16", "Схема", "Ctrl+F1", false},
      {"Помощь", "N36", "Макросы", "Ctrl+F2", false},
      {"Помощь", "N12", "О программе", "F1", false},
  };
  // Menus and items in their order.
  QStringList menus;
  QList<QStringList> itemsByMenu;
  for (QAction* menuAction : form->menuBar()->actions()) {
    menus << menuAction->text();
    QStringList names;
    for (QAction* action : menuAction->menu()->actions()) {
      if (!action->isSeparator())
        names << action->objectName();
    }
    itemsByMenu << names;
  }
  EXPECT_EQ(menus, (QStringList{"Файл", "Работа", "Вид", "Настройки", "Окна", "Помощь"}));
  QStringList expectedOrder;
  QStringList actualOrder;
  for (const QStringList& names : itemsByMenu)
    actualOrder << names;
  for (const Row& row : rows) {
    expectedOrder << row.name;
    QAction* action = form->item(row.name);
    ASSERT_NE(action, nullptr) << row.name;
    EXPECT_EQ(action->text(), QString::fromUtf8(row.caption)) << row.name;
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(row.shortcut))) << row.name;
    EXPECT_EQ(action->isCheckable(), row.checkable) << row.name;
    EXPECT_EQ(form->menuBar()
                  ->actions()[menus.indexOf(QString::fromUtf8(row.menu))]
                  ->menu()
                  ->actions()
                  .contains(action),
              true)
        << row.name;
  }
  EXPECT_EQ(actualOrder, expectedOrder);
  EXPECT_EQ(form->menuBar()->actions()[2]->shortcut(), QKeySequence("Alt+Z"));
}

TEST_F(MainWindow, ItemsTheChargerCannotDoAreGreyedWithTheReason) {
  startMainWindow();
  const QStringList greyed = {"N25", "N24", "N26", "N8", "N17", "N21", "N9", "N16"};
  const QStringList documents = {"N9", "N16"};
  for (QAction* menuAction : form->menuBar()->actions()) {
    QMenu* menu = menuAction->menu();
    bool holdsGreyed = false;
    for (QAction* action : menu->actions()) {
      if (action->isSeparator())
        continue;
      const bool unavailable = greyed.contains(action->objectName());
      holdsGreyed = holdsGreyed || unavailable;
      EXPECT_EQ(action->isEnabled(), !unavailable) << action->objectName().toStdString();
      // Only the greyed items say anything when the pointer rests on them.
      const QString why =
          documents.contains(action->objectName()) ? kNoDocumentHint : kUnavailableHint;
      EXPECT_EQ(action->toolTip() == why, unavailable) << action->objectName().toStdString();
    }
    EXPECT_EQ(menu->toolTipsVisible(), holdsGreyed) << menuAction->text().toStdString();
  }
}

TEST_F(MainWindow, StartsWithTheDemoMarkAndNoPort) {
  startMainWindow();
  EXPECT_TRUE(form->item("N41")->isChecked());
  EXPECT_FALSE(form->item("N40")->isChecked());
  EXPECT_EQ(statusPanel(0)->text(), "COM off");
  EXPECT_EQ(statusPanel(1)->text(), "Ch1: off");
  EXPECT_EQ(statusPanel(2)->text(), "Ch2: off");
  // The start-up refresh without a port put "M" into every cell.
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ScreenImage.Chars), 80), QByteArray(80, 'M'));
  EXPECT_EQ(image1()->size(), QSize(800, 480));
  EXPECT_FALSE(timer2()->isActive());
  EXPECT_EQ(timer2()->interval(), 3000);
  EXPECT_TRUE(timer1()->isActive());
}

TEST_F(MainWindow, ItemsWithoutActionDoNothing) {
  startMainWindow();
  const QWidgetList windows = QApplication::topLevelWidgets();
  for (const char* name : {"N25", "N24", "N26", "N18", "N8", "N17", "N21", "N9", "N16"}) {
    form->item(name)->trigger();
  }
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(port.opens, 0);
  EXPECT_EQ(QApplication::topLevelWidgets(), windows);
}

TEST_F(MainWindow, TheReadPercentageStaysReadableBesideLongTexts) {
  startMainWindow();
  openPort();
  ChargerState.VersionText = QStringLiteral("QV V2.3Z");
  DeviceLink.BytesReceived = 12345678;
  DeviceLink.BytesSent = 1234567;
  DeviceLink.Retries = 12345;
  form->refreshStatus();
  emit form->poller()->noteChanged(QStringLiteral("Нет связи с ЗУ, новая попытка через 30 с") +
                                   QString(40, u'!'));
  QApplication::processEvents();
  const QFontMetrics metrics(progressPanel()->font());
  EXPECT_GE(progressPanel()->width(), metrics.horizontalAdvance(ProgressText(1)) + 8);
  EXPECT_LE(statusBar1()->width(),
            form->width());  // the window did not grow
}

TEST_F(MainWindow, MainPositionTakesLeftAndTopOnly) {
  WriteAll(SettingsFilePath(), "[COMMON]\r\nMainPos=-1200, 35, 5, 5\r\nTimer=7\r\n");
  startMainWindow();
  // The client area's corner; the test platform keeps the frame's left
  // border on the screen, as some window managers do.
  EXPECT_EQ(form->geometry().top(), 35);
  EXPECT_LE(form->geometry().left(), -1198);
  EXPECT_EQ(image1()->size(), QSize(800, 480));
  EXPECT_EQ(timer2()->interval(), 7000);
}

TEST_F(MainWindow, PollingIntervalFromAHandEditedFileStaysSane) {
  for (const auto& [text, interval] :
       {std::pair{"Timer=2147483647", 3000}, std::pair{"Timer=-5", 3000},
        std::pair{"Timer=3600", 3600000}, std::pair{"Timer=0", 0}}) {
    WriteAll(SettingsFilePath(), QByteArray("[COMMON]\r\n") + text + "\r\n");
    startMainWindow();
    EXPECT_EQ(timer2()->interval(), interval) << text;
    EXPECT_FALSE(timer2()->isActive());
  }
}

TEST_F(MainWindow, CancelledPortChoiceCannotConnect) {
  startMainWindow();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 0; };
  form->N40Click();
  EXPECT_EQ(messages, QStringList{"Не удалось установить связь с ЗУ!"});
}

TEST_F(MainWindow, UnsupportedChargerGetsThePortClosed) {
  startMainWindow();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  port.responder = [](const QByteArray&) { return ReplyChunks{Frame(U_WhoAreYou, "QV V3.0Z")}; };
  form->N40Click();
  EXPECT_EQ(messages, QStringList{"Данное устройство не поддерживается!"});
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(port.closes, 1);
}

TEST_F(MainWindow, ConnectIdentifiesThenFetchesTheScreen) {
  startMainWindow();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  port.responder = [](const QByteArray& request) {
    if (request[0] == char(U_WhoAreYou))
      return ReplyChunks{Frame(U_WhoAreYou, "QV V2.3Z")};
    QByteArray screen = QByteArray("HELLO").leftJustified(80, ' ');
    screen.append(char(80));
    return ReplyChunks{Frame(U_GiveMeScr, screen)};
  };
  form->N40Click();
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
  EXPECT_EQ(port.writes, (QList<QByteArray>{"\x87", "\x96"}));
  EXPECT_EQ(ScreenImage.Chars[0], 'H');
  EXPECT_TRUE(form->item("N40")->isChecked());
  EXPECT_FALSE(form->item("N41")->isChecked());
  EXPECT_EQ(statusPanel(0)->text(), "COM1=>QV V2.3Z (93/2/0)");
  // Once recognised, a later connect command identifies again and fetches
  // the screen, with no message.
  form->N40Click();
  EXPECT_EQ(port.writes.size(), 4);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MainWindow, ReleaseOnTheOkButtonSendsOkAndRedraws) {
  startMainWindow();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  port.responder = [](const QByteArray& request) {
    QByteArray screen = QByteArray("PRESSED").leftJustified(80, ' ');
    screen.append(char(80));
    return ReplyChunks{Frame(static_cast<uint8_t>(request[0]), screen)};
  };
  // Pressed on button 1, released on button 4: the release decides.
  QTest::mousePress(image1(), Qt::LeftButton, {}, ButtonCentre[0]);
  QTest::mouseRelease(image1(), Qt::LeftButton, {}, ButtonCentre[3]);
  ASSERT_EQ(port.writes.size(), 1);
  EXPECT_EQ(port.writes[0], QByteArray("\xE1"));
  EXPECT_EQ(ScreenImage.Chars[0], 'P');
  // Anywhere else asks for the screen.
  QTest::mouseClick(image1(), Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(port.writes.last(), QByteArray("\x96"));
}

TEST_F(MainWindow, ReleaseWithoutAPortAsksForOne) {
  startMainWindow();
  int dialogs = 0;
  TestHost().choosePort = [&] { ++dialogs; };
  QTest::mouseClick(image1(), Qt::LeftButton, {}, QPoint(100, 100));
  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(port.writes.isEmpty());
}

TEST_F(MainWindow, ExitWritesTheSettingsThenClosesThePort) {
  startMainWindow();
  openPort();
  form->setGeometry(QRect(QPoint(120, 80), form->size()));
  closeMainWindow();
  EXPECT_TRUE(ProgramClosing);
  EXPECT_FALSE(DeviceLink.PortOpen);
  IniFile ini;
  ini.load(SettingsFilePath());
  // The client area: the picture and the status bar below it.
  EXPECT_EQ(ini.readString("COMMON", "MainPos", ""),
            QStringLiteral("120,80,800,%1").arg(480 + statusBar1()->height()));
  EXPECT_EQ(ini.readInteger("COMMON", "COMSpeed", 0), 38400);
  EXPECT_EQ(ini.readInteger("COMMON", "Wnds", -1), 0);
}

// The settings and the channels know nothing of each other: the window hands
// the macro names over at start and takes them back at exit.
TEST_F(MainWindow, ChannelsKeepTheirMacroNamesFromStartToExit) {
  WriteAll(SettingsFilePath(), ToCp1251("[COMMON]\r\nLastMacro1=Заряд.qvml\r\n"));
  MemoryImage.Bytes[100] = 7;
  startMainWindow();
  EXPECT_EQ(ChannelData[0].LastMacro, "Заряд.qvml");
  EXPECT_EQ(ChannelData[1].LastMacro, "macro.qvml");
  EXPECT_EQ(MemoryImage.Bytes[100], 0);  // a fresh start reads no old image
  ChannelData[1].LastMacro = QStringLiteral("Литий.qvml");
  closeMainWindow();
  IniFile ini;
  ini.load(SettingsFilePath());
  EXPECT_EQ(ini.readString("COMMON", "LastMacro1", ""), "Заряд.qvml");
  EXPECT_EQ(ini.readString("COMMON", "LastMacro2", ""), "Литий.qvml");
}

// Right after the port dialog closes no window is active; a box without a
// parent could then stay hidden behind the main window it blocks.
TEST_F(MainWindow, MessageBoxesBelongToTheMainWindowWhenNoneIsActive) {
  startMainWindow();
  QList<QWidget*> parents;
  answerDialog = [&](QDialog& dialog) {
    parents << dialog.parentWidget();
    dialog.reject();
    return static_cast<int>(QDialog::Rejected);
  };
  QApplication::setActiveWindow(nullptr);
  ASSERT_EQ(QApplication::activeWindow(), nullptr);
  ProgramHost host;
  host.showMessage(QStringLiteral("Сообщение"));
  host.ask(QStringLiteral("Вопрос?"));
  EXPECT_EQ(parents, (QList<QWidget*>{form.get(), form.get()}));
}

TEST_F(MainWindow, ExitClosesThePointReportsLeftOpen) {
  startMainWindow();
  QPointer<TFormAbout> report = ShowAboutReport(QStringLiteral("Точка на графике..."));
  ASSERT_TRUE(report->isVisible());
  closeMainWindow();
  EXPECT_TRUE(report.isNull() || !report->isVisible());
}

TEST_F(MainWindow, MissingPictureIsNamedWithEveryFolderSearched) {
  QFile::remove(folder.file("qv2x.bmp"));
  form = std::make_unique<TFormM>();
  EXPECT_FALSE(form->started());
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains("qv2x.bmp"));
  const QStringList lines = messages[0].split('\n');
  for (const QString& searched : {QDir::cleanPath(folder.path()), QDir::currentPath(),
                                  QDir::cleanPath(InstalledDataFolder())})
    EXPECT_TRUE(lines.contains(searched)) << searched.toStdString();
}

}  // namespace
