#include <gtest/gtest.h>
#include <QImage>
#include <QLocale>

#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "tests/support/test_host.h"
#include "ui/main/status_bar.h"

using namespace qv;

namespace {

class StatusTexts : public ::testing::Test {
 protected:
  void SetUp() override {
    InitSharedState();
    Settings = SettingsRecord{};
    now = DateTimeToDays(QDateTime(QDate(2024, 5, 1), QTime(12, 0)));
    // Only the flag matters to the texts; nothing is sent.
    DeviceLink.PortOpen = true;
  }
  void TearDown() override {
    DeviceLink.PortOpen = false;
    ResetLinkCounters();
    QLocale::setDefault(QLocale::c());
  }
  double& now = TestHost().now.emplace(0);
};

TEST_F(StatusTexts, LinkSummary) {
  Settings.COM = 3;
  ChargerState.VersionText = "QV V2.0Z";
  DeviceLink.BytesReceived = 840;
  DeviceLink.BytesSent = 120;
  DeviceLink.Retries = 2;
  EXPECT_EQ(StatusPanelTexts()[0], "COM3=>QV V2.0Z (840/120/2)");
}

TEST_F(StatusTexts, ChannelSummaries) {
  struct Case {
    int mode;
    double secondsAgo;  // 0: no start time
    int state;
    uint8_t bits;
    const char* channel1;
    const char* channel2;
  } cases[] = {
      {0, 3723, kStateRecording, 0xB0, "Ch1:ЗУ 01:02:03 W.LV", "Ch2:ЗУ 01:02:03 ...I"},
      {0, 0, kStateRecording, 0xB0, "Ch1:ЗУ W.LV", "Ch2:ЗУ ...I"},
      {1, 3723, kStateIdle, 0x0F, "Ch1:БП Vc ...I", "Ch2:БП Vc WZLV"},
      {3, 25 * 3600 + 5, kStateEnded, 0x00, "Ch1:Макро 01:00:05 ...I", "Ch2:Макро 01:00:05 ...I"},
      {2, 60, kStateEndedOther, 0x41, "Ch1:БП Ic 00:01:00 .Z.I", "Ch2:БП Ic 00:01:00 ...V"},
  };
  for (const Case& c : cases) {
    for (ChannelRecord& channel : ChannelData) {
      channel.Mode = static_cast<uint8_t>(c.mode);
      channel.State = c.state;
      channel.StartTime = c.secondsAgo == 0 ? 0 : now - c.secondsAgo / 86400;
    }
    ChargerState.StatusBits = c.bits;
    const auto texts = StatusPanelTexts();
    EXPECT_EQ(texts[1], QString::fromUtf8(c.channel1));
    EXPECT_EQ(texts[2], QString::fromUtf8(c.channel2));
  }
}

TEST_F(StatusTexts, ClosedPort) {
  DeviceLink.PortOpen = false;
  const auto texts = StatusPanelTexts();
  EXPECT_EQ(texts[0], "COM off");
  EXPECT_EQ(texts[1], "Ch1: off");
  EXPECT_EQ(texts[2], "Ch2: off");
}

TEST_F(StatusTexts, ModesBeyondTheTable) {
  EXPECT_EQ(ModeName(7), "Режим 7");
}

TEST(Progress, TextIsUnclampedAndTheBarClamped) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  const QRect rect(10, 0, 100, 20);
  struct Case {
    double p;
    const char* text;
    int right;
  } cases[] = {{0.5, "50,0%", 60},
               {1.7, "170,0%", 110},
               {0, "0,0%", 10},
               {-0.3, "-30,0%", 10},
               {0.333, "33,3%", 43}};
  for (const Case& c : cases) {
    EXPECT_EQ(ProgressText(c.p), QString::fromUtf8(c.text)) << c.p;
    EXPECT_EQ(ProgressBarRight(rect, c.p), c.right) << c.p;
  }
  QLocale::setDefault(QLocale::c());
}

TEST(Progress, HalfABarIsSkyBlueOnTheLeft) {
  ProgressPanel panel;
  panel.resize(200, 20);
  panel.setProgress(0.5);
  const QImage image = panel.grab().toImage();
  EXPECT_EQ(image.pixelColor(20, 18), QColor(166, 202, 240));
  EXPECT_NE(image.pixelColor(180, 18), QColor(166, 202, 240));
  panel.setProgress(0);
  EXPECT_NE(panel.grab().toImage().pixelColor(20, 18), QColor(166, 202, 240));
}

}  // namespace
