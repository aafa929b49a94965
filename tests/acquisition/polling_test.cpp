#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QTimer>

#include "acquisition/polling.h"
#include "acquisition/recording.h"
#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tests/acquisition/measurement.h"
#include "tests/support/link_fixture.h"
#include "tests/support/test_host.h"
#include "tests/support/wait.h"

using namespace qv;

namespace {

QByteArray screenReply() {
  QByteArray payload = QByteArray("SCREEN").leftJustified(80, ' ');
  payload.append(char(80));
  return Frame(U_GiveMeScr, payload);
}

// A charger that answers every command, or stays silent while told so.
class Polling : public LinkTest {
 protected:
  void SetUp() override {
    InitSharedState();
    InitRecording();
    TestHost().choosePort = [] { ADD_FAILURE() << "polling must never ask for a port"; };
    port.responder = [this](const QByteArray& request) {
      if (silent)
        return ReplyChunks{};
      switch (static_cast<uint8_t>(request[0])) {
        case U_WhoAreYou:
          return ReplyChunks{Frame(U_WhoAreYou, "QV V2.3Z")};
        case U_GiveMeADC:
          return ReplyChunks{Measurement{}.frame()};
        default:
          return ReplyChunks{screenReply()};
      }
    };
    QObject::connect(&poller, &Poller::polled, [this] { ++polls; });
    QObject::connect(&poller, &Poller::noteChanged, [this](const QString& n) { notes << n; });
    poller.setInterval(20);
    poller.setReconnectPauses(10, 40);
  }
  void TearDown() override { poller.stop(); }

  // What was sent, one hexadecimal code a request.
  QStringList sentCodes() const {
    QStringList codes;
    for (const QByteArray& write : port.writes)
      codes << QString::fromLatin1(write.left(1).toHex().toUpper());
    return codes;
  }

  Poller poller;
  bool silent = false;
  int polls = 0;
  QStringList notes;
};

TEST_F(Polling, EachTickAsksForTheMeasurementsThenTheScreen) {
  openPort();
  TestHost().reopenPort = [] { return false; };
  poller.start();
  ASSERT_TRUE(WaitFor([this] { return polls >= 3; }, 3000));
  poller.stop();
  const QStringList codes = sentCodes();
  ASSERT_GE(codes.size(), 6);
  EXPECT_EQ(codes.mid(0, 6), (QStringList{"A5", "96", "A5", "96", "A5", "96"}));
  EXPECT_EQ(ScreenImage.Chars[0], 'S');
  EXPECT_GE(MeasurementCount(), 3);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Polling, WaitsWhileTheLinkIsHeldOrBusyAndResumesAfter) {
  openPort();
  TestHost().reopenPort = [] { return false; };
  poller.start();
  {
    const BackgroundHold hold;  // a memory read or a dialog
    poller.poll();
    ChargerState.Busy = true;
    poller.poll();
    ChargerState.Busy = false;
  }
  EXPECT_TRUE(port.writes.isEmpty());
  poller.poll();
  EXPECT_EQ(sentCodes(), (QStringList{"A5", "96"}));
}

TEST_F(Polling, ALostChargerIsFoundAgainWithGrowingPausesAndNoMessage) {
  openPort();
  QList<qint64> attempts;
  QElapsedTimer clock;
  clock.start();
  TestHost().reopenPort = [&] {
    attempts << clock.elapsed();
    return attempts.size() >= 4 && OpenPortQuietly(1, 38400);
  };
  poller.start();
  silent = true;
  ASSERT_TRUE(WaitFor([this] { return poller.reconnecting(); }, 3000));
  EXPECT_FALSE(DeviceLink.PortOpen);
  silent = false;
  bool back = false;
  QObject::connect(&poller, &Poller::reconnected, [&] { back = true; });
  ASSERT_TRUE(WaitFor([&] { return back; }, 5000));
  EXPECT_TRUE(DeviceLink.PortOpen);
  EXPECT_FALSE(poller.reconnecting());
  ASSERT_EQ(attempts.size(), 4);
  // Pauses of 10, 20, 40 and 40 ms: each at least as long as the one before.
  for (int i = 1; i < attempts.size(); ++i)
    EXPECT_GE(attempts[i] - attempts[i - 1], 15) << i;
  ASSERT_TRUE(WaitFor([this] { return polls >= 2; }, 3000));
  EXPECT_TRUE(notes.contains("Нет связи с ЗУ, новая попытка через 1 с"));
  EXPECT_EQ(notes.last(), QString());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Polling, AReopenedPortWithAnUnsupportedChargerIsClosedAgain) {
  openPort();
  TestHost().reopenPort = [] { return OpenPortQuietly(1, 38400); };
  poller.start();
  silent = true;
  ASSERT_TRUE(WaitFor([this] { return poller.reconnecting(); }, 3000));
  port.responder = [](const QByteArray&) { return ReplyChunks{Frame(U_WhoAreYou, "QV V9.9Z")}; };
  ASSERT_TRUE(WaitFor([this] { return port.closes >= 3; }, 3000));
  EXPECT_TRUE(poller.reconnecting());
  EXPECT_EQ(ChargerState.VersionText, "QV V9.9Z");
  EXPECT_TRUE(messages.isEmpty());
}

TEST(PollingInterval, TimerSettingInSeconds) {
  struct Case {
    int setting;
    int seconds;
  } cases[] = {{0, 0}, {1, 1}, {3, 3}, {3600, 3600}, {3601, 3}, {-1, 3}};
  for (const Case& c : cases)
    EXPECT_EQ(PollingIntervalSeconds(c.setting), c.seconds) << c.setting;
}

}  // namespace
