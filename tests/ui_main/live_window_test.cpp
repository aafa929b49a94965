// The main window while a charger lives: the demo charger, connecting at
// start-up, and what the user is told when a run ends.
#include <QAction>
#include <QLabel>
#include <QTimer>

#include "acquisition/polling.h"
#include "acquisition/shared_state.h"
#include "app/demo_charger.h"
#include "common/commands.h"
#include "common/folders.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tests/acquisition/measurement.h"
#include "tests/support/children.h"
#include "tests/support/sim_process.h"
#include "tests/support/test_host.h"
#include "tests/support/wait.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/main/front_panel.h"

using namespace qv;

namespace {

class LiveWindow : public MainWindowTest {
 protected:
  // The simulator as COM1 in the settings file the window will read.
  void startSim(const QStringList& arguments, const QByteArray& common) {
    TestHost().serialPort = {};  // the real serial port
    sim = std::make_unique<SimProcess>(arguments);
    ASSERT_TRUE(sim->start());
    WriteAll(SettingsFilePath(),
             "[COMMON]\r\n" + common + "[PORTS]\r\nCOM1=" + sim->devicePath().toLatin1() + "\r\n");
  }

  QString linkPanel() const { return statusPanel(0)->text(); }

  std::unique_ptr<SimProcess> sim;
};

TEST_F(LiveWindow, TheDemoChargerIsPolledAndRecordedLikeARealOne) {
  startMainWindow();
  Settings.SaveComLog = true;
  form->setDemoCharger(CreateDemoCharger);
  form->item("N41")->trigger();
  ASSERT_TRUE(DeviceLink.PortOpen);
  EXPECT_TRUE(DeviceLink.DemoCharger);
  EXPECT_TRUE(form->item("N41")->isChecked());
  EXPECT_FALSE(form->item("N40")->isChecked());
  EXPECT_TRUE(linkPanel().startsWith("Демо=>QV V2.3Z (")) << linkPanel().toStdString();
  EXPECT_TRUE(timer2()->isActive());

  const QImage before = PanelBitmap;
  form->poller()->poll();
  EXPECT_NE(PanelBitmap, before) << "a poll redraws the measured values on the panel";
  form->poller()->poll();
  EXPECT_EQ(ChannelData[0].State, kStateRecording);  // the demo charges channel 1
  EXPECT_EQ(ChannelData[0].Count, 2);
  EXPECT_EQ(QDir(GraFolder()).entryList(QDir::Files).size(), 1);
  EXPECT_TRUE(statusPanel(1)->text().startsWith("Ch1:ЗУ ")) << statusPanel(1)->text().toStdString();
  EXPECT_TRUE(logLines().contains("U_GiveMeADC: Запрос на состояние ADC"));
  EXPECT_EQ(port.opens, 0);  // no serial port was touched

  form->item("N41")->trigger();  // again: the demo charger goes
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_FALSE(timer2()->isActive());
  EXPECT_TRUE(form->item("N41")->isChecked());
  EXPECT_EQ(linkPanel(), "COM off");
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

TEST_F(LiveWindow, ConnectAtStartPollsWithoutAnyDialog) {
  startSim({}, "AutoComStart=1\r\nTimer=1\r\n");
  TestHost().choosePort = [] { ADD_FAILURE() << "no port dialog at start"; };
  startMainWindow();
  ASSERT_TRUE(WaitFor([] { return DeviceLink.PortOpen; }, 5000));
  EXPECT_TRUE(timer2()->isActive());
  EXPECT_EQ(timer2()->interval(), 1000);
  EXPECT_EQ(linkPanel().left(15), "COM1=>QV V2.3Z ");
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

TEST_F(LiveWindow, ConnectAtStartToASilentChargerOnlySaysSo) {
  startSim({"--fault", "silence=1"}, "AutoComStart=1\r\n");
  startMainWindow();
  ASSERT_TRUE(WaitFor([this] { return noteLabel()->isVisible(); }, 5000));
  EXPECT_EQ(noteLabel()->text(), "COM1: ЗУ не отвечает");
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_FALSE(timer2()->isActive());
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

TEST_F(LiveWindow, ARunThatEndsIsToldInTheStatusBar) {
  startMainWindow();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  uint8_t status = 0x80;
  port.responder = [&status](const QByteArray& request) {
    Measurement m;
    m.status = status;
    switch (static_cast<uint8_t>(request[0])) {
      case U_WhoAreYou:
        return ReplyChunks{Frame(U_WhoAreYou, "QV V2.3Z")};
      case U_GiveMeADC:
        return ReplyChunks{m.frame()};
      default:
        return ReplyChunks{Frame(U_GiveMeScr, QByteArray(80, ' ') + char(80))};
    }
  };
  form->N40Click();
  ASSERT_TRUE(timer2()->isActive());
  form->poller()->poll();
  const QString file = ChannelData[0].LogPath.section(u'/', -1);
  status = 0;
  form->poller()->poll();
  // Offscreen there is no tray: the status bar says it.
  EXPECT_TRUE(noteLabel()->isVisibleTo(form.get()));
  EXPECT_EQ(noteLabel()->text(), "Канал 1: запись окончена, " + file);
  EXPECT_TRUE(messages.isEmpty());
}

// A lost link comes back on what was polled: the configured port or the demo
// charger, never the other.
TEST_F(LiveWindow, ALostLinkIsReopenedOnWhatWasPolled) {
  startMainWindow();
  form->poller()->setReconnectPauses(10, 10);
  form->setDemoCharger(CreateDemoCharger);
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  port.responder = [](const QByteArray& request) {
    if (static_cast<uint8_t>(request[0]) == U_WhoAreYou)
      return ReplyChunks{Frame(U_WhoAreYou, "QV V2.3Z")};
    if (static_cast<uint8_t>(request[0]) == U_GiveMeADC)
      return ReplyChunks{Measurement().frame()};
    return ReplyChunks{Frame(U_GiveMeScr, QByteArray(80, ' ') + char(80))};
  };
  bool back = false;
  QObject::connect(form->poller(), &Poller::reconnected, [&] { back = true; });
  const auto loseAndWait = [&] {
    back = false;
    ClosePort();
    form->poller()->poll();
    EXPECT_TRUE(form->poller()->reconnecting());
    return WaitFor([&] { return back; }, 5000);
  };

  form->N40Click();
  ASSERT_EQ(port.opens, 1);
  ASSERT_TRUE(loseAndWait());
  EXPECT_EQ(port.opens, 2);
  EXPECT_FALSE(DeviceLink.DemoCharger);

  form->N41Click();
  ASSERT_TRUE(DeviceLink.DemoCharger);
  ASSERT_TRUE(loseAndWait());
  EXPECT_TRUE(DeviceLink.DemoCharger);
  EXPECT_EQ(port.opens, 2);
  EXPECT_EQ(TestHost().portDialogs, 1);
  EXPECT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
}

}  // namespace
