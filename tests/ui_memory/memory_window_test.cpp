#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QRadioButton>
#include <cstring>
#include <memory>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/serial_port.h"
#include "memory/memory_image.h"
#include "sim/memory_image.h"
#include "tests/support/link_fixture.h"
#include "tests/support/screenshot.h"
#include "tests/support/sim_process.h"
#include "tests/support/test_host.h"
#include "tests/support/window_management.h"
#include "ui/main/child_window.h"
#include "ui/main/fonts.h"
#include "ui/memory/unitmem.h"

using namespace qv;

namespace {

TEST(DumpFont, LargestSizeWhoseLetterFitsASixtyFifth) {
  const auto halfOfSize = [](int size) { return size / 2; };
  struct Case {
    int width;
    int size;
  } cases[] = {
      {650, 19},   // 650 / 65 = 10: 19 / 2 = 9 is the first below
      {2000, 30},  // the largest is enough
      {455, 13},   // 7: 13 / 2 = 6
      {260, 7},    // 4: 7 / 2 = 3
      {195, 5},    // 3: 6 / 2 = 3 is not below, and 5 is not tried
      {64, 5},     // 0: nothing fits
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitDumpFontSize(c.width, halfOfSize), c.size) << c.width;
  // Never tried below 6.
  int smallest = 100;
  FitDumpFontSize(1, [&](int size) {
    smallest = std::min(smallest, size);
    return 1000;
  });
  EXPECT_EQ(smallest, 6);
}

class MemoryWindow : public LinkTest {
 protected:
  MemoryWindow() {
    InstallFontSubstitutions();
    InitSharedState();
    ResetWindowManagement();
    form = std::make_unique<TFormMem>();
    form->show();
  }
  ~MemoryWindow() override {
    form.reset();
    ResetWindowManagement();
  }

  QStringList memoLines() const { return form->Memo1->toPlainText().split('\n'); }

  std::unique_ptr<TFormMem> form;
};

TEST_F(MemoryWindow, AreasSwitchWithoutAnyExchange) {
  const uint8_t row[16] = {0x09, 0x20, 0x41, 0x0A, 0x0D, 0x1F, 0xC0, 0xFF,
                           0x00, 0x7E, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35};
  std::memcpy(MemoryImage.Bytes + 0x4400, row, 16);
  struct Case {
    int button;
    int lines;
    const char* first;
  } cases[] = {{1, 64, "4000"}, {2, 128, "4400"}, {3, 1216, "0000"}, {0, 1024, "0000"}};
  for (const Case& c : cases) {
    form->RadioButton[c.button]->setChecked(true);
    const QStringList lines = memoLines();
    ASSERT_EQ(lines.size(), c.lines) << c.button;
    EXPECT_TRUE(lines.first().startsWith(c.first)) << c.button;
    for (const QString& line : lines)
      ASSERT_EQ(line.size(), 69) << line.toStdString();
  }
  form->RadioButton[2]->setChecked(true);
  EXPECT_EQ(memoLines().first(),
            "4400 09 20 41 0A 0D 1F C0 FF 00 7E 30 31 32 33 34 35 . A...Ая.~012345");
  EXPECT_TRUE(port.writes.isEmpty());
  EXPECT_EQ(port.opens, 0);
}

TEST_F(MemoryWindow, MissingDumpFileIsSaidAndTheImageKept) {
  MemoryImage.Bytes[0] = 0x41;
  form->Button2Click();
  EXPECT_EQ(messages, QStringList{"Ошибка открытия файла " + DumpFilePath()});
  EXPECT_EQ(MemoryImage.Bytes[0], 0x41);
  EXPECT_TRUE(memoLines().first().startsWith("0000 41"));
}

TEST_F(MemoryWindow, SavedDumpLoadsBack) {
  MemoryImage.Bytes[0x4BFF] = 0x5A;
  form->Button3Click();
  ASSERT_TRUE(messages.isEmpty());
  EXPECT_EQ(ReadAll(DumpFilePath()).size(), kDumpLength);
  ClearMemoryImage();
  form->Button2Click();
  EXPECT_EQ(MemoryImage.Bytes[0x4BFF], 0x5A);
  // Replacing the file asks; No leaves it as it was.
  MemoryImage.Bytes[0x4BFF] = 0x11;
  answer = false;
  form->Button3Click();
  EXPECT_EQ(questions.size(), 1);
  EXPECT_EQ(static_cast<uint8_t>(ReadAll(DumpFilePath()).at(0x4BFF)), 0x5A);
}

TEST_F(MemoryWindow, NoPortChosenReadsNothing) {
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 0; };
  form->Button1Click();
  EXPECT_TRUE(port.writes.isEmpty());
  EXPECT_TRUE(messages.isEmpty());
}

// The real port layer against the simulator.
class SimMemoryWindow : public MemoryWindow {
 protected:
  SimMemoryWindow() { TestHost().serialPort = {}; }
  void startSim(const QStringList& arguments) {
    sim = std::make_unique<SimProcess>(arguments);
    ASSERT_TRUE(sim->start());
    Settings.PortPaths.insert(1, sim->devicePath());
    TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  }
  ~SimMemoryWindow() override { ClosePort(); }
  std::unique_ptr<SimProcess> sim;
};

TEST_F(SimMemoryWindow, ReadsTheChargersEeprom) {
  startSim({});
  form->RadioButton[1]->setChecked(true);
  form->Button1Click();
  ASSERT_TRUE(messages.isEmpty()) << messages.join(' ').toStdString();
  const QByteArray expected = sim::SyntheticMemoryImage().mid(0x4000, 0x400);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(MemoryImage.Bytes) + 0x4000, 0x400), expected);
  EXPECT_EQ(memoLines().size(), 64);
  EXPECT_EQ(memoLines().first(), DumpLine(0x4000));
  EXPECT_EQ(MemoryImage.ReadProgress, 0);
  form->resize(700, 420);
  SaveScreenshot(*form, "memory_window");
}

TEST_F(SimMemoryWindow, FailedBlocksAreCountedAndKeepTheirBytes) {
  startSim({"--fault", "badcrc=1"});
  std::memset(MemoryImage.Bytes + 0x4000, 0xAA, 0x400);
  form->RadioButton[1]->setChecked(true);
  form->Button1Click();
  EXPECT_EQ(messages, QStringList{"Не удалось прочитать блоков: 16"});
  for (int a = 0x4000; a < 0x4400; ++a)
    ASSERT_EQ(MemoryImage.Bytes[a], 0xAA) << a;
  // Three blocks of five attempts each, then the read gave up.
  EXPECT_EQ(sim->stop().value("requests"), 15);
}

}  // namespace
