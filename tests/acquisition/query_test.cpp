#include <gtest/gtest.h>

#include "acquisition/query.h"
#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"
#include "tests/acquisition/measurement.h"
#include "tests/support/link_fixture.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

QByteArray screenFrame(uint8_t code, const QByteArray& text, uint8_t cursor) {
  QByteArray payload = text.leftJustified(80, ' ', true);
  payload.append(static_cast<char>(cursor));
  return Frame(code, payload);
}

class Query : public LinkTest {
 protected:
  void SetUp() override {
    InitSharedState();
    openPort();
    port.responder = [this](const QByteArray&) { return ReplyChunks{nextReply}; };
  }

  // The measurement application alone; the runs around it are tested apart.
  void measure(const Measurement& m, double secondsLater = 2) {
    now += secondsLater / 86400;
    nextReply = m.frame();
    DeviceLink.Request[0] = U_GiveMeADC;
    DeviceLink.RequestLength = 1;
    ASSERT_TRUE(SendCommand());
    ApplyMeasurementReply(now);
  }

  QByteArray nextReply;
};

TEST_F(Query, StartValues) {
  ScreenImage.CursorPos = 3;
  ChannelData[1].Count = 5;
  InitSharedState();
  for (int row = 0; row < 4; ++row) {
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ScreenImage.Chars) + row * 20, 20),
              "01234567890123456789");
  }
  EXPECT_EQ(ScreenImage.CursorPos, 255);
  EXPECT_EQ(ChannelData[1].Count, 0);
}

TEST_F(Query, DisplayReplyIsRemappedWithItsCursor) {
  QByteArray text("ABCD\x99\x92\x93\x86\x87xyz");
  nextReply = screenFrame(U_OK, text, 5);
  QueryDevice(U_OK);
  const uint8_t expected[] = {'A', 'B', 'C', 'D', 0xF8, 0xFD, 0x20, 0x5F, 0x5E, 'x', 'y', 'z', ' '};
  for (int i = 0; i < 13; ++i)
    EXPECT_EQ(ScreenImage.Chars[i], expected[i]) << i;
  EXPECT_EQ(ScreenImage.CursorPos, 5);
  EXPECT_EQ(port.writes.last(), QByteArray("\xE1"));
  EXPECT_EQ(statusRefreshes, 2);  // after Connect and after the reply
  EXPECT_FALSE(ChargerState.Busy);
}

TEST_F(Query, ReplyIsAppliedByItsOwnCode) {
  // A display request answered with a version frame sets the version.
  nextReply = Frame(U_WhoAreYou, "QV V2.1Z");
  QueryDevice(U_GiveMeScr);
  EXPECT_EQ(ChargerState.VersionText, "QV V2.1Z");
  EXPECT_EQ(ScreenImage.Chars[0], '0');
}

TEST_F(Query, VersionIdentification) {
  struct Case {
    const char* version;
    bool identified;
  } cases[] = {{"QV V2.3Z", true}, {"qv v2.3z", true},  {"QV V3.0Z", false},
               {"QV VB5Z ", true}, {"xQV V1.7", false}, {"QV V1.7Z", true}};
  for (const Case& c : cases) {
    ChargerState.DeviceIdentified = false;
    nextReply = Frame(U_WhoAreYou, QByteArray(c.version));
    QueryDevice(U_WhoAreYou);
    EXPECT_EQ(ChargerState.VersionText, QString::fromLatin1(c.version));
    EXPECT_EQ(ChargerState.DeviceIdentified, c.identified) << c.version;
  }
  // Once recognised it stays so.
  nextReply = Frame(U_WhoAreYou, "QV V2.0Z");
  QueryDevice(U_WhoAreYou);
  nextReply = Frame(U_WhoAreYou, "XX V9.9Z");
  QueryDevice(U_WhoAreYou);
  EXPECT_TRUE(ChargerState.DeviceIdentified);
}

TEST_F(Query, MeasurementValuesAndDerivedOnes) {
  Measurement m;
  m.current1 = 150;   // 1.50 A
  m.voltage1 = 1420;  // 14.20 V
  m.temp1 = 2510;
  m.heatsink = 3000;
  m.supply = 1234;
  m.capacity1 = 50;
  m.capacity2 = 65535;
  m.status = 0x80 | 0x20;
  measure(m);
  const ChannelRecord& c = ChannelData[0];
  ASSERT_EQ(c.Count, 1);
  EXPECT_DOUBLE_EQ(c.Current[0], 1.5);
  EXPECT_DOUBLE_EQ(c.Voltage[0], 14.2);
  EXPECT_DOUBLE_EQ(c.Power[0], 1.5 * 14.2);
  EXPECT_DOUBLE_EQ(c.Resistance[0], 14.2 / 1.5);
  EXPECT_DOUBLE_EQ(c.Temp[0], 25.1);
  EXPECT_DOUBLE_EQ(c.HeatsinkTemp[0], 30.0);
  EXPECT_DOUBLE_EQ(ChannelData[1].HeatsinkTemp[0], 30.0);
  EXPECT_DOUBLE_EQ(c.Capacity[0], 0.5);
  EXPECT_NEAR(ChannelData[1].Capacity[0], -0.01, 1e-9);
  EXPECT_DOUBLE_EQ(ChargerState.SupplyVoltage, 12.34);
  EXPECT_EQ(ChargerState.StatusBits, 0xA0);
  EXPECT_DOUBLE_EQ(ChargerState.LastAdcTime, now);
  EXPECT_NEAR(c.Time[0], now * 24 * 60, 1e-6);  // no start time: minutes since the origin
}

// Every word goes to its own channel and field, so a mix-up of the two
// channels' words shows.
TEST_F(Query, EachChannelTakesItsOwnWords) {
  Measurement m;
  m.current1 = 101;
  m.voltage1 = 1202;
  m.temp1 = 2303;
  m.current2 = 404;
  m.voltage2 = 1505;
  m.temp2 = 2606;
  m.capacity1 = 707;
  m.capacity2 = 808;
  m.heatsink = 3009;
  m.supply = 1210;
  m.status = 0x88;
  measure(m);
  const struct {
    double current, voltage, temp, capacity;
  } expected[2] = {{1.01, 12.02, 23.03, 7.07}, {4.04, 15.05, 26.06, 8.08}};
  for (int channel = 0; channel < 2; ++channel) {
    const ChannelRecord& c = ChannelData[channel];
    SCOPED_TRACE(channel);
    EXPECT_DOUBLE_EQ(c.Current[0], expected[channel].current);
    EXPECT_DOUBLE_EQ(c.Voltage[0], expected[channel].voltage);
    EXPECT_DOUBLE_EQ(c.Temp[0], expected[channel].temp);
    EXPECT_DOUBLE_EQ(c.Capacity[0], expected[channel].capacity);
    EXPECT_DOUBLE_EQ(c.HeatsinkTemp[0], 30.09);
  }
  EXPECT_DOUBLE_EQ(ChargerState.SupplyVoltage, 12.10);
}

// The rates need more than a hundredth of a second between two replies.
TEST_F(Query, RatesStartJustAboveAHundredthOfASecond) {
  const struct {
    double seconds;
    double rate;
  } cases[] = {{0.008, 0}, {0.02, 100}, {0.05, 40}};
  for (const auto& c : cases) {
    InitSharedState();
    Measurement m;
    m.status = 0x80;
    m.current1 = 100;
    measure(m);
    m.current1 = 300;  // 2 A more
    measure(m, c.seconds);
    EXPECT_NEAR(ChannelData[0].dIdt[1], c.rate, 1e-3 * c.rate + 1e-9) << c.seconds << " s";
  }
}

TEST_F(Query, CapacityAbove103WrapsNegative) {
  struct Case {
    int word;
    double ah;
  } cases[] = {{10300, 103.0}, {10301, -552.35}, {65535, -0.01}, {0, 0}};
  for (const Case& c : cases) {
    Measurement m;
    m.capacity1 = c.word;
    measure(m);
    EXPECT_NEAR(ChannelData[0].Capacity[ChannelData[0].Count], c.ah, 1e-9) << c.word;
  }
}

TEST_F(Query, ZeroCurrentKeepsTheResistance) {
  Measurement m;
  m.current1 = 200;
  m.voltage1 = 400;
  measure(m);
  m.current1 = 0;
  m.voltage1 = 900;
  measure(m);
  EXPECT_DOUBLE_EQ(ChannelData[0].Resistance[0], 2.0);
}

TEST_F(Query, RatesNeedMoreThanTenMillisecondsBetweenReplies) {
  Measurement m;
  m.status = 0x88;
  m.current1 = m.current2 = 100;
  m.voltage1 = m.voltage2 = 1000;
  m.temp1 = m.temp2 = 2000;
  measure(m);
  m.current1 = m.current2 = 300;
  measure(m, 0.005);
  for (const ChannelRecord& c : ChannelData)
    EXPECT_EQ(c.dIdt[1], 0.0);
  m.current1 = m.current2 = 500;
  m.voltage1 = m.voltage2 = 1100;
  m.temp1 = m.temp2 = 2040;
  measure(m, 2);
  // Both channels from their second sample on.
  for (const ChannelRecord& c : ChannelData) {
    ASSERT_EQ(c.Count, 3);
    EXPECT_NEAR(c.dIdt[2], 1.0, 1e-6);
    EXPECT_NEAR(c.dVdt[2], 0.5, 1e-6);
    EXPECT_NEAR(c.dTdt[2], 0.2, 1e-6);
  }
  m.current1 = m.current2 = 300;
  measure(m, 0.5);
  EXPECT_NEAR(ChannelData[1].dIdt[3], -4.0, 1e-4);  // the clock counts in days
  EXPECT_NEAR(ChannelData[1].dIdt[1], 0, 1e-12);
}

TEST_F(Query, SecondSampleOfChannelTwoGetsItsRates) {
  Measurement m;
  m.status = 0x08;
  m.current2 = 100;
  measure(m);
  m.current2 = 300;
  measure(m, 1);
  EXPECT_NEAR(ChannelData[1].dIdt[1], 2.0, 1e-6);
}

TEST_F(Query, IdleChannelOnlyRewritesItsLiveElement) {
  ChannelData[0].LogPath = folder.file("GRA/ch1.txt");
  ChannelData[1].LogPath = folder.file("GRA/ch2.txt");
  Measurement m;
  m.status = 0x80;
  for (int i = 0; i < 3; ++i) {
    m.voltage2 = 100 * (i + 1);
    measure(m);
  }
  EXPECT_EQ(ChannelData[0].Count, 3);
  EXPECT_EQ(ChannelData[1].Count, 0);
  EXPECT_DOUBLE_EQ(ChannelData[1].Voltage[0], 3.0);
  EXPECT_EQ(ReadAll(ChannelData[0].LogPath).count("\r\n"), 3);
  EXPECT_TRUE(ReadAll(ChannelData[1].LogPath).isEmpty());
}

TEST_F(Query, RecordingEndsWhenTheChannelStops) {
  ChannelData[0].State = kStateRecording;
  ChannelData[1].State = kStateRecordingOther;
  Measurement m;
  m.status = 0x88;
  measure(m);
  EXPECT_EQ(ChannelData[0].State, kStateRecording);
  m.status = 0x08;
  measure(m);
  EXPECT_EQ(ChannelData[0].State, kStateEnded);
  EXPECT_EQ(ChannelData[1].State, kStateRecordingOther);
  m.status = 0;
  measure(m);
  EXPECT_EQ(ChannelData[1].State, kStateEndedOther);
}

TEST_F(Query, FullSeriesEndsTheRecordingAndKeepsTheLiveValues) {
  ChannelRecord& c = ChannelData[0];
  c.Count = kSeriesCapacity - 1;
  c.State = kStateRecording;
  Measurement m;
  m.status = 0x80;
  m.voltage1 = 4200;
  measure(m);
  EXPECT_EQ(c.Count, kSeriesCapacity - 1);
  EXPECT_EQ(c.State, kStateEnded);
  EXPECT_DOUBLE_EQ(c.Voltage[kSeriesCapacity - 1], 42.0);
  m.voltage1 = 4300;
  measure(m);
  EXPECT_EQ(c.Count, kSeriesCapacity - 1);
  EXPECT_DOUBLE_EQ(c.Voltage[kSeriesCapacity - 1], 43.0);
}

TEST_F(Query, FailedExchangeClosesThePort) {
  port.responder = [](const QByteArray&) { return ReplyChunks{QByteArray("\xF0")}; };
  QueryDevice(U_OK);
  EXPECT_FALSE(DeviceLink.PortOpen);
  EXPECT_EQ(statusRefreshes, 2);
  EXPECT_FALSE(ChargerState.Busy);
  ApplyPortClosedState();
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(ScreenImage.Chars), 80), QByteArray(80, 'M'));
  // The next query asks for a port again.
  int dialogs = 0;
  TestHost().choosePort = [&] { ++dialogs; };
  QueryDevice(U_GiveMeScr);
  EXPECT_EQ(dialogs, 1);
}

TEST_F(Query, NestedQueryDuringTheStatusRefreshDoesNothing) {
  nextReply = screenFrame(U_GiveMeScr, "X", 0);
  bool nestedBusy = false;
  // Like a click that waits in the event queue: it runs once, inside the
  // refresh after the reply.
  TestHost().onStatusRefresh = [&] {
    if (statusRefreshes != 2)  // the host counted this one
      return;
    nestedBusy = ChargerState.Busy;
    QueryDevice(U_OK);
  };
  QueryDevice(U_GiveMeScr);
  EXPECT_TRUE(nestedBusy);
  EXPECT_EQ(port.writes.size(), 1);
}

TEST_F(Query, NoPortAndCancelledDialogSendsNothing) {
  ClosePort();
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 0; };
  QueryDevice(U_OK);
  EXPECT_TRUE(port.writes.isEmpty());
  EXPECT_TRUE(messages.isEmpty());
  EXPECT_EQ(statusRefreshes, 1);
}

TEST(StateLetters, FromStatusBits) {
  struct Case {
    uint8_t bits;
    int channel;
    const char* letters;
  } cases[] = {{0x0F, 1, "WZLV"}, {0x0F, 0, "...I"}, {0xB0, 0, "W.LV"}, {0x00, 1, "...I"},
               {0xF0, 0, "WZLV"}, {0x41, 0, ".Z.I"}, {0x41, 1, "...V"}};
  for (const Case& c : cases)
    EXPECT_EQ(StateLetters(c.bits, c.channel), c.letters) << int(c.bits);
}

}  // namespace
