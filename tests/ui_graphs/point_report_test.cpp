#include "ui/graphs/point_report.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "acquisition/run_file.h"
#include "acquisition/shared_state.h"
#include "tests/support/printers.h"
#include "tests/support/shown_windows.h"
#include "ui/main/unitabout.h"

using namespace qv;

namespace {

class PointReport : public ::testing::Test {
 protected:
  PointReport() { InitSharedState(); }
  ~PointReport() override {
    QLocale::setDefault(QLocale::c());
    for (QWidget* window : QApplication::topLevelWidgets())
      delete window;
  }
};

TEST_F(PointReport, NumbersAreSevenCharactersCutFromTheLeft) {
  const struct {
    double value;
    const char* field;
  } cases[] = {
      {5, "   5.00"},        {1.5, "   1.50"},     {12.34, "  12.34"}, {1234.567, "1234.57"},
      {12345.67, "2345.67"}, {-1.5, "  -1.50"},    {12345, "2345.00"}, {0, "   0.00"},
      {0.005, "   0.01"},    {-1234.5, "1234.50"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatReportNumber(c.value), c.field) << c.value;
}

TEST_F(PointReport, NumbersTakeTheLocalesDecimalSeparator) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  EXPECT_EQ(FormatReportNumber(12.34), "  12,34");
  EXPECT_EQ(FormatReportNumber(12345.67), "2345,67");
}

TEST_F(PointReport, TextOfOneSample) {
  ChannelRecord& c = ChannelData[1];
  c.Count = 250;
  const int k = 5;
  c.Current[k] = 1.5;
  c.Voltage[k] = 12.34;
  c.Temp[k] = 25.5;
  c.HeatsinkTemp[k] = 31;
  c.Capacity[k] = -0.25;
  c.Power[k] = 18.51;
  c.Resistance[k] = 8.2267;
  c.dIdt[k] = 0.001;
  c.dVdt[k] = -0.02;
  c.dTdt[k] = 12345.67;
  ChannelData[0].Current[k] = 99;  // the other channel must not show up
  EXPECT_EQ(BuildPointReport(1, k),
            "Точка на графике...\r\n"
            "\r\n"
            "Index =   5.00\r\n"
            "I(А)  =   1.50\r\n"
            "V(В)  =  12.34\r\n"
            "T(оС) =  25.50\r\n"
            "Tc(оС)=  31.00\r\n"
            "E(Ач) =  -0.25\r\n"
            "P(Вт) =  18.51\r\n"
            "R(Ом) =   8.23\r\n"
            "dI/dt =   0.00\r\n"
            "dV/dt =  -0.02\r\n"
            "dT/dt =2345.67\r\n"
            "\r\n"
            "Всего точек:250");
}

// The same sample in a run read from its file reads as in the channel; the
// last line counts the run's samples, and nothing past them is read.
TEST_F(PointReport, ASampleOfARunReadsAsTheChannelsWithTheRunsCount) {
  ChannelRecord& c = ChannelData[0];
  c.Count = 4;
  LoadedRun run;
  for (int k = 0; k < 4; ++k) {
    for (int field = 0; field < kLogFields; ++field) {
      (c.*kLogSeries[field])[k] = field * 10 + k * 0.25;
      run.columns[field].append(field * 10 + k * 0.25);
    }
  }
  c.Count = 250;  // the channel goes on; the run ends at its 4 samples
  const QString channelText = BuildPointReport(0, 3);
  const QString runText = BuildPointReport(run.series(), 3);
  EXPECT_EQ(runText.section("\r\n", 0, 13), channelText.section("\r\n", 0, 13));
  EXPECT_TRUE(runText.contains("I(А)  =  10.75")) << runText.toStdString();
  EXPECT_TRUE(runText.contains("dT/dt = 100.75")) << runText.toStdString();
  EXPECT_TRUE(runText.endsWith("\r\nВсего точек:4")) << runText.toStdString();
  for (const int index : {-1, 4, 49999})
    EXPECT_TRUE(BuildPointReport(run.series(), index).isEmpty()) << index;
  EXPECT_EQ(ShowPointReport(run.series(), 4), nullptr);
  EXPECT_TRUE(ShownWindows<TFormAbout>().isEmpty());
}

TEST_F(PointReport, EveryValueLineIsFourteenCharacters) {
  ChannelData[0].Count = 3;
  ChannelData[0].Voltage[49999] = 123456.789;
  const QStringList lines = BuildPointReport(0, 49999).split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 15);
  for (int i = 2; i < 13; ++i)
    EXPECT_EQ(lines[i].size(), 14) << lines[i].toStdString();
  EXPECT_EQ(lines[2], "Index =9999.00");
  EXPECT_EQ(lines[4], "V(В)  =3456.79");
  EXPECT_EQ(lines[14], "Всего точек:3");
}

TEST_F(PointReport, IndexOutsideTheSeriesGivesNoTextAndNoWindow) {
  for (const int index : {-1, 50000, 1 << 30}) {
    EXPECT_TRUE(BuildPointReport(0, index).isEmpty()) << index;
    EXPECT_EQ(ShowPointReport(0, index), nullptr) << index;
  }
  EXPECT_TRUE(BuildPointReport(2, 0).isEmpty());
  EXPECT_TRUE(ShownWindows<TFormAbout>().isEmpty());
}

TEST_F(PointReport, EachReportOpensItsOwnWindowAsASnapshot) {
  ChannelData[0].Count = 10;
  ChannelData[0].Current[3] = 2;
  TFormAbout* first = ShowPointReport(0, 3);
  ChannelData[0].Current[3] = 7;
  TFormAbout* second = ShowPointReport(0, 3);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ShownWindows<TFormAbout>().size(), 2);
  EXPECT_TRUE(first->Memo1->toPlainText().contains("I(А)  =   2.00"));
  EXPECT_TRUE(second->Memo1->toPlainText().contains("I(А)  =   7.00"));
  EXPECT_FALSE(first->RichEdit1->isVisible());
  EXPECT_FALSE(first->isModal());
  first->close();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(ShownWindows<TFormAbout>(), QList<TFormAbout*>{second});
}

}  // namespace
