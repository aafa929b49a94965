// The program's main window against the simulator on a pseudo-terminal.
#include <QLabel>
#include <QtTest/QTest>

#include "acquisition/shared_state.h"
#include "common/cp1251.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tests/support/children.h"
#include "tests/support/screenshot.h"
#include "tests/support/sim_process.h"
#include "tests/support/test_host.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/main/front_panel.h"
#include "ui/main/panel_view.h"

using namespace qv;

namespace {

class SimMainWindow : public MainWindowTest {
 protected:
  // The real serial port, not the fake one.
  SimMainWindow() { TestHost().serialPort = {}; }

  void startWith(const QStringList& simArguments) {
    sim = std::make_unique<SimProcess>(simArguments);
    ASSERT_TRUE(sim->start());
    WriteAll(folder.file("qv20.ini"), ("[PORTS]\r\nCOM1=" + sim->devicePath() + "\r\n").toLatin1());
    startMainWindow();
    Settings.SaveComLog = true;
    TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  }

  QString displayRow(int row) const {
    return FromCp1251(QByteArray(reinterpret_cast<const char*>(ScreenImage.Chars) + 20 * row, 20));
  }

  std::unique_ptr<SimProcess> sim;
};

TEST_F(SimMainWindow, ConnectMirrorsTheChargersScreen) {
  startWith({});
  form->N40Click();
  ASSERT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
  EXPECT_TRUE(ChargerState.DeviceIdentified);
  EXPECT_TRUE(displayRow(0).contains("Главное меню")) << displayRow(0).toStdString();
  EXPECT_EQ(statusPanel(0)->text(), "COM1=>QV V2.3Z (93/2/0)");
  EXPECT_TRUE(statusPanel(1)->text().startsWith("Ch1:ЗУ "));
  EXPECT_TRUE(form->item("N40")->isChecked());
  const QString path = SaveScreenshot(*form, "main_window_connected");
  EXPECT_FALSE(path.isEmpty());

  // The pictured OK button sends U_OK and shows the new screen.
  const int cursorBefore = ScreenImage.CursorPos;
  QTest::mouseClick(image1(), Qt::LeftButton, {},
                    ButtonCentre[1]);  // down
  EXPECT_NE(ScreenImage.CursorPos, cursorBefore);
  QTest::mouseClick(image1(), Qt::LeftButton, {},
                    ButtonCentre[2]);  // up
  EXPECT_EQ(ScreenImage.CursorPos, cursorBefore);
  QTest::mouseClick(image1(), Qt::LeftButton, {}, ButtonCentre[3]);
  EXPECT_TRUE(DeviceLink.PortOpen);
  const QStringList log = logLines();
  EXPECT_TRUE(log.contains("U_OK: Кнопка ОК нажата")) << log.join("\n").toStdString();
  EXPECT_TRUE(log.contains("Send (01) E1"));
  SaveScreenshot(*form, "main_window_after_ok");
}

TEST_F(SimMainWindow, UnsupportedVersionIsSaid) {
  startWith({"--version-text", "QV V9.9Z"});
  form->N40Click();
  EXPECT_EQ(messages, QStringList{"Данное устройство не поддерживается!"});
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(statusPanel(0)->text(), "COM off");
}

TEST_F(SimMainWindow, CancelledDialogCannotConnect) {
  startWith({});
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 0; };
  form->N40Click();
  EXPECT_EQ(messages, QStringList{"Не удалось установить связь с ЗУ!"});
}

TEST_F(SimMainWindow, SilentChargerClosesThePortAndTheDisplayShowsM) {
  startWith({"--fault", "nak=1"});
  Connect();
  ASSERT_TRUE(DeviceLink.PortOpen);
  QTest::mouseClick(image1(), Qt::LeftButton, {}, ButtonCentre[3]);
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(displayRow(0), QString(20, u'M'));
  EXPECT_TRUE(form->item("N41")->isChecked());
}

}  // namespace
