// The real port layer over a pseudo-terminal against the charger simulator.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QRegularExpression>

#include "acquisition/query.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/commands.h"
#include "common/cp1251.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"
#include "memory/memory_image.h"
#include "sim/memory_image.h"
#include "tests/support/sim_link_fixture.h"

using namespace qv;

namespace {

class SimLink : public SimLinkTest {
 protected:
  bool send(uint8_t code) {
    DeviceLink.Request[0] = code;
    DeviceLink.RequestLength = 1;
    return SendCommand();
  }

  QString screenRow(int row) const {
    return FromCp1251(QByteArray(reinterpret_cast<const char*>(ScreenImage.Chars) + row * 20, 20));
  }
};

TEST_F(SimLink, IdentifyOverTheWire) {
  start();
  QueryDevice(U_WhoAreYou);
  EXPECT_EQ(ChargerState.VersionText, "QV V2.3Z");
  EXPECT_TRUE(ChargerState.DeviceIdentified);
  EXPECT_EQ(DeviceLink.BytesSent, 1);
  EXPECT_EQ(DeviceLink.BytesReceived, 10);
  const QStringList log = logLines();
  ASSERT_EQ(log.size(), 5);
  EXPECT_EQ(log.mid(0, 4),
            (QStringList{"to.ReadIntervalTimeout=20", "to.ReadTotalTimeoutMultiplier=20",
                         "U_WhoAreYou: Запрос версии", "Send (01) 87"}));
  EXPECT_TRUE(log[4].startsWith("Receive (0A)  87 51 56 20 56 32 2E 33 5A "))
      << log[4].toStdString();
}

TEST_F(SimLink, ScreenAndAButtonPress) {
  start();
  QueryDevice(U_GiveMeScr);
  ASSERT_TRUE(DeviceLink.PortOpen);
  const QString before = screenRow(0) + screenRow(1) + screenRow(2) + screenRow(3);
  const int cursorBefore = ScreenImage.CursorPos;
  EXPECT_FALSE(before.trimmed().isEmpty());
  EXPECT_NE(before, QString(80, u'M'));
  QueryDevice(U_DOWN);
  ASSERT_TRUE(DeviceLink.PortOpen);
  EXPECT_NE(ScreenImage.CursorPos, cursorBefore);
  EXPECT_EQ(DeviceLink.BytesReceived, 2 * 83);
  EXPECT_TRUE(logLines().contains("U_DOWN: Кнопка Движение вниз по списку нажата"));
}

TEST_F(SimLink, MeasurementIsAppliedAndLogged) {
  start({"--start", "1", "--step-seconds", "60"});
  ChannelData[0].LogPath = folder.file("GRA/ch1.txt");
  for (int i = 0; i < 3; ++i)
    QueryDevice(U_GiveMeADC);
  ASSERT_TRUE(DeviceLink.PortOpen);
  const ChannelRecord& c = ChannelData[0];
  EXPECT_EQ(c.Count, 3);
  EXPECT_TRUE(ChargerState.StatusBits & 0x80);
  EXPECT_GT(c.Voltage[2], 0.5);
  EXPECT_GT(c.Current[2], 0.0);
  EXPECT_NEAR(c.Power[2], c.Current[2] * c.Voltage[2], 1e-9);
  EXPECT_GT(ChargerState.SupplyVoltage, 5.0);
  const QList<QByteArray> lines = ReadAll(c.LogPath).split('\n');
  ASSERT_EQ(lines.size(), 4);  // three lines and what follows the last line end
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(lines[i].size(), 132) << i;  // 131 and the CR
  EXPECT_EQ(ChannelData[1].Count, 0);
}

TEST_F(SimLink, EepromReadMatchesTheSimulatorsImage) {
  start();
  const QByteArray image = sim::SyntheticMemoryImage();
  const MemoryArea& eeprom = kMemoryAreas[1];
  ASSERT_TRUE(ReadMemory(eeprom.first, eeprom.end - eeprom.first, kMemoryBlock));
  EXPECT_EQ(MemoryImage.FailedBlocks, 0);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(MemoryImage.Bytes) + eeprom.first, 1024),
            image.mid(eeprom.first, 1024));
  EXPECT_EQ(MemoryImage.Bytes[eeprom.first - 1], 0);
  EXPECT_EQ(DeviceLink.BytesSent, 16 * 5);
  EXPECT_EQ(DeviceLink.BytesReceived, 16 * 69);
}

TEST_F(SimLink, FiveRepliesOf240) {
  start({"--fault", "nak=1"});
  const qsizetype logStart = logLines().size();
  EXPECT_FALSE(send(U_OK));
  EXPECT_EQ(DeviceLink.Retries, 5);
  QStringList expected{"U_OK: Кнопка ОК нажата"};
  for (int i = 0; i < 5; ++i)
    expected << "Send (01) E1"
             << "Receive (01)  F0";
  expected << "Команду не удалось выполнить даже за 3 попытки!!!";
  EXPECT_EQ(logLines().mid(logStart), expected);
  QueryDevice(U_OK);
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(sim->stop().value("fault.nak"), 10);
}

TEST_F(SimLink, SilenceTimesOutOnceWithinTheTimeouts) {
  start({"--fault", "silence=1"});
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(send(U_WhoAreYou));
  // Ten reads of up to 10 x 20 ms each; far less than a hang.
  EXPECT_LT(clock.elapsed(), 8000);
  EXPECT_EQ(DeviceLink.Retries, 0);
  EXPECT_EQ(logLines().mid(2),
            (QStringList{"U_WhoAreYou: Запрос версии", "Send (01) 87", "Timeout!"}));
}

TEST_F(SimLink, CorruptedChecksumIsTriedFiveTimes) {
  start({"--fault", "badcrc=1"});
  EXPECT_FALSE(send(U_WhoAreYou));
  EXPECT_EQ(DeviceLink.Retries, 5);
  EXPECT_EQ(DeviceLink.BytesReceived, 50);
  const QStringList log = logLines();
  EXPECT_EQ(log.filter(QRegularExpression("^Receive \\(0A\\)  87 ")).size(), 5);
  EXPECT_EQ(log.last(), "Команду не удалось выполнить даже за 3 попытки!!!");
}

TEST_F(SimLink, ClosingAndReopeningThePortKeepsTheSimulatorUsable) {
  start();
  ASSERT_TRUE(ClosePort());
  Connect();
  ASSERT_TRUE(DeviceLink.PortOpen);
  QueryDevice(U_WhoAreYou);
  EXPECT_TRUE(ChargerState.DeviceIdentified);
}

}  // namespace
