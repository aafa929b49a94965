#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QLocale>

#include "acquisition/sample_log.h"
#include "acquisition/shared_state.h"
#include "tests/support/temp_folder.h"

using namespace qv;

namespace {

class SampleLog : public ::testing::Test {
 protected:
  void SetUp() override {
    QLocale::setDefault(QLocale::c());
    InitSharedState();
  }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  void fillExample(ChannelRecord& c, int k) {
    c.Time[k] = 12.5;
    c.Current[k] = 1.23;
    c.Voltage[k] = 4.56;
    c.Temp[k] = 25.1;
    c.HeatsinkTemp[k] = 30;
    c.Capacity[k] = 0.5;
    c.Power[k] = 5.6088;
    c.Resistance[k] = 3.7073;
    c.dIdt[k] = 0;
    c.dVdt[k] = 0.01;
    c.dTdt[k] = -0.001;
  }
};

TEST_F(SampleLog, FieldsAreElevenCharactersWide) {
  struct Case {
    double value;
    const char* field;
  } cases[] = {{4.5, "       4.50"},         {-3.456, "      -3.46"}, {0, "       0.00"},
               {123456789.5, "23456789.50"}, {0.125, "       0.13"},  {-0.004, "       0.00"}};
  for (const Case& c : cases)
    EXPECT_EQ(FormatLogValue(c.value), c.field) << c.value;
}

TEST_F(SampleLog, LineOfElevenFieldsWithTheTimeRounded) {
  ChannelRecord& c = ChannelData[0];
  fillExample(c, 0);
  EXPECT_EQ(SampleLine(c, 0),
            "      12.50;       1.23;       4.56;      25.10;      30.00;       0.50;       5.61;"
            "       3.71;       0.00;       0.01;       0.00");
  c.Time[0] = 12.125;
  EXPECT_TRUE(SampleLine(c, 0).startsWith("      12.13;"));
  EXPECT_EQ(SampleLine(c, 0).size(), 131);
}

TEST_F(SampleLog, AppendsOneCrLfLineOfTheChannelsOwnSample) {
  TempProgramFolder folder;
  ChannelRecord& c = ChannelData[1];
  c.LogPath = folder.file("GRA/ch2.txt");
  c.Count = 3;
  fillExample(c, 3);
  AppendSampleLine(c);
  AppendSampleLine(c);
  const QByteArray expected = SampleLine(c, 3).toLatin1() + "\r\n";
  EXPECT_EQ(ReadAll(c.LogPath), expected + expected);
}

// Not into the working folder either, where a name without a folder would
// land, nor anywhere under the program folder.
TEST_F(SampleLog, EmptyPathWritesNothing) {
  TempProgramFolder folder;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(folder.path()));
  ChannelData[0].LogPath.clear();
  fillExample(ChannelData[0], 0);
  AppendSampleLine(ChannelData[0]);
  QDir::setCurrent(before);
  QDirIterator files(folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
}

TEST_F(SampleLog, RussianLocaleWritesCommas) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  EXPECT_EQ(FormatLogValue(12.5), "      12,50");
}

}  // namespace
