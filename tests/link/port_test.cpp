#include <gtest/gtest.h>
#include <QDir>

#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tests/support/link_fixture.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

using Port = LinkTest;

TEST_F(Port, RefusesWithoutAnyMessage) {
  EXPECT_FALSE(OpenPort(0, 38400));
  EXPECT_FALSE(OpenPort(1, 0));
  EXPECT_FALSE(OpenPort(1, -9600));
  EXPECT_EQ(port.opens, 0);
  ASSERT_TRUE(OpenPort(1, 38400));
  EXPECT_FALSE(OpenPort(2, 38400));
  EXPECT_EQ(port.opens, 1);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Port, TimeoutsFollowTheSpeed) {
  struct Case {
    int baud;
    int interval;
    int perByte;
  } cases[] = {{38400, 20, 20}, {9600, 20, 21}, {2400, 23, 26}, {1200, 26, 33}, {115200, 20, 20}};
  for (const Case& c : cases) {
    ASSERT_TRUE(OpenPort(1, c.baud));
    EXPECT_EQ(port.appliedBaud, c.baud);
    EXPECT_EQ(port.appliedTimeouts.readInterval, c.interval);
    EXPECT_EQ(port.appliedTimeouts.readTotalPerByte, c.perByte);
    const QStringList log = logLines();
    EXPECT_EQ(log.mid(log.size() - 2),
              (QStringList{QStringLiteral("to.ReadIntervalTimeout=%1").arg(c.interval),
                           QStringLiteral("to.ReadTotalTimeoutMultiplier=%1").arg(c.perByte)}));
    ClosePort();
  }
}

TEST_F(Port, OpenFailuresAndTheirMessages) {
  struct Case {
    bool FakePort::Failures::*failure;
    bool opens;
    const char* message;
  } cases[] = {
      {&FakePort::Failures::open, false, "Не могу открыть COM3!"},
      {&FakePort::Failures::readLineSettings, true,
       "Ошибка чтения DCB COM3!\n\nЭто нехорошо, но ладно!"},
      {&FakePort::Failures::readTimeouts, true,
       "Ошибка чтения TimeOuts COM3!\n\nЭто нехорошо, но ладно!"},
      {&FakePort::Failures::applyLineSettings, false,
       "Не могу установить параметры работы порта(DCB).\n\nИзвините программа работать не будет."},
      {&FakePort::Failures::applyTimeouts, false,
       "Не могу установить таймауты порта.\n\nИзвините программа работать не будет."},
  };
  for (const Case& c : cases) {
    port.fail = {};
    port.fail.*c.failure = true;
    messages.clear();
    EXPECT_EQ(OpenPort(3, 38400), c.opens) << c.message;
    EXPECT_EQ(DeviceLink.PortOpen, c.opens);
    EXPECT_EQ(messages, QStringList{QString::fromUtf8(c.message)});
    ClosePort();
  }
}

TEST_F(Port, CloseRestoresTheDeviceAndClearsCounters) {
  EXPECT_FALSE(ClosePort());
  openPort();
  DeviceLink.BytesSent = 5;
  DeviceLink.Retries = 2;
  EXPECT_TRUE(ClosePort());
  EXPECT_EQ(port.restores, 1);
  EXPECT_EQ(port.closes, 1);
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(DeviceLink.BytesSent, 0);
  EXPECT_EQ(DeviceLink.Retries, 0);
}

TEST_F(Port, ConnectCancelledLeavesPortClosedAndSettingAlone) {
  Settings.COM = 4;
  int dialogs = 0;
  TestHost().choosePort = [&] {
    ++dialogs;
    DeviceLink.ChosenPort = 0;
  };
  Connect();
  EXPECT_EQ(dialogs, 1);
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(Settings.COM, 4);
  EXPECT_EQ(statusRefreshes, 1);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Port, ConnectStoresTheChoiceEvenWhenOpeningFails) {
  port.fail.open = true;
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 12; };
  Connect();
  EXPECT_EQ(Settings.COM, 12);
  EXPECT_EQ(messages, (QStringList{"Не могу открыть COM12!", "COM12 не открылся!!!"}));
  EXPECT_EQ(statusRefreshes, 1);
}

TEST_F(Port, ConnectOpensTheChosenPortAtTheSetSpeedOnce) {
  Settings.COMSpeed = 9600;
  int dialogs = 0;
  TestHost().choosePort = [&] {
    ++dialogs;
    DeviceLink.ChosenPort = 2;
  };
  Connect();
  Connect();
  EXPECT_TRUE(DeviceLink.PortOpen);
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(port.openedDevice, "/dev/ttyS1");
  EXPECT_EQ(port.appliedBaud, 9600);
  EXPECT_EQ(statusRefreshes, 2);
}

TEST_F(Port, ClosingTheDialogByItsFrameReopensTheEarlierChoice) {
  DeviceLink.ChosenPort = 5;
  TestHost().choosePort = [] {};
  Connect();
  EXPECT_TRUE(DeviceLink.PortOpen);
  EXPECT_EQ(Settings.COM, 5);
}

TEST_F(Port, ComNumbersMapOntoDeviceFamilies) {
  struct Case {
    int n;
    const char* path;
  } cases[] = {{1, "/dev/ttyS0"},
               {32, "/dev/ttyS31"},
               {33, "/dev/ttyUSB0"},
               {64, "/dev/ttyUSB31"},
               {65, "/dev/ttyACM0"},
               {99, "/dev/ttyACM34"},
               {0, ""},
               {100, ""},
               {-3, ""}};
  for (const Case& c : cases)
    EXPECT_EQ(ComPortPath(c.n), QString::fromUtf8(c.path)) << c.n;
  Settings.PortPaths.insert(1, "/dev/serial/by-id/usb-charger");
  Settings.PortPaths.insert(70, "/tmp/qvsim");
  EXPECT_EQ(ComPortPath(1), "/dev/serial/by-id/usb-charger");
  EXPECT_EQ(ComPortPath(70), "/tmp/qvsim");
  EXPECT_EQ(ComPortPath(2), "/dev/ttyS1");
}

TEST_F(Port, EnumerationListsMappedDevicesThatExistSortedAsText) {
  for (int n : {1, 3, 12, 40}) {
    const QString path = folder.file(QStringLiteral("dev%1").arg(n));
    Settings.PortPaths.insert(n, path);
    if (n != 40)
      WriteAll(path, "");
  }
  QStringList listed = EnumeratePorts();
  QStringList ours;
  for (const QString& name : listed) {
    if (name == "COM1" || name == "COM3" || name == "COM12" || name == "COM40")
      ours << name;
  }
  EXPECT_EQ(ours, (QStringList{"COM1", "COM12", "COM3"}));
  QStringList sorted = listed;
  sorted.sort();
  EXPECT_EQ(listed, sorted);
  for (const QString& name : listed)
    EXPECT_LE(name.size(), 5);
}

}  // namespace
