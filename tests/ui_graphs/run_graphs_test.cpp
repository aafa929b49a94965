// The graphs window of runs read back from their files: the same window as a
// channel's, its samples from the runs.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QValueAxis>
#include <QtTest/QTest>

#include "acquisition/shared_state.h"
#include "common/messages.h"
#include "tests/support/printers.h"
#include "tests/support/screenshot.h"
#include "tests/support/shown_windows.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"
#include "tests/support/window_management.h"
#include "tests/ui_graphs/drawn_lines.h"
#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/point_report.h"
#include "ui/graphs/unitgra.h"
#include "ui/main/child_window.h"
#include "ui/main/modal.h"
#include "ui/main/unitabout.h"

using namespace qv;

namespace {

// Distinct values per run, quantity and sample, so that any mix-up shows.
double runValue(int run, int quantity, int k) {
  return (run + 1) * 1000 + (quantity + 1) * 100 + k * 0.5;
}

// A run of count samples minutesApart, named like a recorded one.
LoadedRun makeRun(const QString& fileName, int run, int count, double minutesApart) {
  LoadedRun loaded;
  loaded.path = QStringLiteral("/runs/") + fileName;
  loaded.name = ParseRunFileName(fileName);
  for (int k = 0; k < count; ++k) {
    loaded.columns[kTimeField].append(k * minutesApart);
    for (int q = 0; q < 10; ++q)
      loaded.columns[q + 1].append(runValue(run, q, k));
  }
  return loaded;
}

const QString kFirstName = QStringLiteral("20261211_083124_1.gra");
const QString kSecondName = QStringLiteral("20261212_190005_2.gra");

class RunGraphs : public ::testing::Test {
 protected:
  RunGraphs() {
    InitSharedState();
    ResetWindowManagement();
    SetChildMenuCheck([this](ChildKind kind, bool) { menuMarks << kind; });
    SetModalRunner([this](QDialog& dialog) { return answerDialog(dialog); });
  }
  ~RunGraphs() override {
    SetModalRunner({});
    SetChildMenuCheck({});
    ProgramClosing = false;
    for (QWidget* window : QApplication::topLevelWidgets())
      delete window;
  }

  TFormGra* open(QList<LoadedRun> runs) {
    auto* window = new TFormGra(std::move(runs));
    window->setGeometry(40, 40, 900, 540);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
    QApplication::processEvents();  // lets the charts lay out their plot areas
    return window;
  }

  // The two runs of different lengths, days apart.
  TFormGra* openTwo() {
    return open({makeRun(kFirstName, 0, 30, 0.5), makeRun(kSecondName, 1, 50, 0.25)});
  }

  static QStringList labelTexts(QWidget* widget) {
    QStringList texts;
    for (QLabel* label : widget->findChildren<QLabel*>()) {
      if (label->isVisibleTo(widget) && !label->text().isEmpty())
        texts << label->text();
    }
    return texts;
  }

  static QPoint pointPosition(GraphChartView& view, QLineSeries* line, int k) {
    const QPointF inChart = view.chart()->mapToPosition(line->at(k), line);
    return view.mapFromScene(view.chart()->mapToScene(inChart));
  }

  QList<ChildKind> menuMarks;
  QStringList& messages = TestHost().messages;
  std::function<int(QDialog&)> answerDialog = [](QDialog& dialog) {
    dialog.reject();
    return static_cast<int>(QDialog::Rejected);
  };
};

TEST_F(RunGraphs, TwoRunsOverlayInEveryChartEachInItsOwnColourFromItsOwnStart) {
  TFormGra* window = openTwo();
  EXPECT_EQ(window->windowTitle(), "Графики: " + kFirstName + ", " + kSecondName);
  EXPECT_EQ(window->channel(), -1);
  const int counts[] = {30, 50};
  const double apart[] = {0.5, 0.25};
  for (int q = 0; q < 10; ++q) {
    QLineSeries* first = window->series(q, 0);
    QLineSeries* second = window->series(q, 1);
    ASSERT_NE(first, second);
    EXPECT_EQ(first->chart(), second->chart()) << q;
    EXPECT_NE(first->pen().color(), second->pen().color()) << q;
    EXPECT_EQ(first->pen().style(), second->pen().style()) << q;
    for (int run = 0; run < 2; ++run) {
      const QList<QPointF> points = window->series(q, run)->points();
      ASSERT_EQ(points.size(), counts[run]) << q << " " << run;
      // Both begin at minute 0, though the second started a day later.
      for (int k = 0; k < counts[run]; ++k)
        EXPECT_EQ(points[k], QPointF(k * apart[run], runValue(run, q, k))) << q << " " << run;
      // A run keeps one colour through all the charts.
      EXPECT_EQ(window->series(q, run)->pen().color(), window->series(0, run)->pen().color());
    }
  }
  // Each axis takes in both runs.
  auto* time = qobject_cast<QValueAxis*>(window->chart(0)->chart()->axes(Qt::Horizontal).value(0));
  auto* value = qobject_cast<QValueAxis*>(window->chart(0)->chart()->axes(Qt::Vertical).value(0));
  EXPECT_EQ(time->min(), 0);
  EXPECT_EQ(time->max(), 29 * 0.5);
  EXPECT_EQ(value->min(), runValue(0, 0, 0));
  EXPECT_EQ(value->max(), runValue(1, 0, 49));

  ASSERT_TRUE(window->legend()->isVisible());
  const QStringList legend = labelTexts(window->legend());
  EXPECT_TRUE(legend.contains(kFirstName)) << legend.join(" | ").toStdString();
  EXPECT_TRUE(legend.contains(kSecondName)) << legend.join(" | ").toStdString();
  // The charts lie below the legend.
  EXPECT_GE(window->chart(0)->geometry().top(),
            window->legend()->mapTo(window, QPoint(0, window->legend()->height())).y());
  EXPECT_FALSE(window->notice()->isVisible());

  // On the screen, each chart shows both runs' lines, each in its run's colour.
  const QImage image = SavedScreenshot(*window, QStringLiteral("graphs_two_runs"));
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.size(), window->size());
  for (int chart = 0; chart < kChartCount; ++chart) {
    for (int run = 0; run < 2; ++run) {
      SCOPED_TRACE(testing::Message() << "chart " << chart << " run " << run);
      QList<ExpectedLine> lines;
      for (int q = 0; q < 10; ++q) {
        if (kGraphQuantities[q].chart != chart)
          continue;
        ExpectedLine& line = lines.emplace_back(ExpectedLine{window->series(q, run), {}});
        for (int k = 0; k < counts[run]; ++k)
          line.samples << QPointF(k * apart[run], runValue(run, q, k));
      }
      ExpectDrawnLines(image, *window, *window->chart(chart), lines,
                       window->series(0, run)->pen().color());
    }
  }
}

TEST_F(RunGraphs, OneRunTakesTheQuantitiesColoursAndNoLegend) {
  TFormGra* window = open({makeRun(kFirstName, 0, 10, 1)});
  EXPECT_EQ(window->windowTitle(), "Графики: " + kFirstName);
  EXPECT_FALSE(window->legend()->isVisible());
  // Charts from the top, as in a channel's window.
  EXPECT_EQ(window->chart(0)->geometry().topLeft(), QPoint(0, 0));
  EXPECT_EQ(window->series(0)->pen().color(), QColor(255, 0, 0));
  EXPECT_EQ(window->series(1)->pen().color(), QColor(0, 0, 255));
  EXPECT_EQ(window->series(3)->pen().style(), Qt::DashLine);
}

TEST_F(RunGraphs, DamagedOrCutFilesAreToldAboveTheChartsWithoutABox) {
  LoadedRun damaged = makeRun(kFirstName, 0, 10, 1);
  damaged.skippedLines = 3;
  LoadedRun whole = makeRun(kSecondName, 1, 10, 1);
  TFormGra* window = open({damaged, whole});
  ASSERT_TRUE(window->notice()->isVisible());
  const QString notice = window->notice()->text();
  EXPECT_TRUE(notice.contains(kFirstName + ": " + damaged.warning())) << notice.toStdString();
  EXPECT_FALSE(notice.contains(kSecondName)) << notice.toStdString();
  EXPECT_GE(window->chart(0)->geometry().top(),
            window->notice()->mapTo(window, QPoint(0, window->notice()->height())).y());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(RunGraphs, AClickOnAPointOfTheSecondRunReportsThatRunsSample) {
  TFormGra* window = openTwo();
  GraphChartView& voltage = *window->chart(1);
  const int k = 37;  // beyond the first run's samples
  QTest::mouseClick(voltage.viewport(), Qt::LeftButton, {},
                    pointPosition(voltage, window->series(1, 1), k));
  ASSERT_EQ(ShownWindows<TFormAbout>().size(), 1);
  const TFormAbout* report = ShownWindows<TFormAbout>()[0];
  const QString text = report->Memo1->toPlainText();
  EXPECT_TRUE(text.contains("Index =  37.00")) << text.toStdString();
  EXPECT_TRUE(text.contains("V(В)  =" + FormatReportNumber(runValue(1, 1, k))))
      << text.toStdString();
  EXPECT_TRUE(text.endsWith("Всего точек:50")) << text.toStdString();
  EXPECT_EQ(report->windowTitle(), kSecondName);
  // The zoom is the window's own: no channel's record changed.
  EXPECT_EQ(ChannelData[0].ZoomedChart, kNoZoomedChart);
  EXPECT_EQ(ChannelData[1].ZoomedChart, kNoZoomedChart);

  // Zoomed now: a point of the first run, at the same time as a sample of
  // the second.
  QApplication::processEvents();
  QTest::mouseClick(voltage.viewport(), Qt::LeftButton, {},
                    pointPosition(voltage, window->series(1, 0), 4));
  ASSERT_EQ(ShownWindows<TFormAbout>().size(), 2);
  const QStringList titles = {ShownWindows<TFormAbout>()[0]->windowTitle(),
                              ShownWindows<TFormAbout>()[1]->windowTitle()};
  const TFormAbout* first = ShownWindows<TFormAbout>()[titles.indexOf(kFirstName)];
  EXPECT_TRUE(
      first->Memo1->toPlainText().contains("V(В)  =" + FormatReportNumber(runValue(0, 1, 4))));
  EXPECT_TRUE(first->Memo1->toPlainText().endsWith("Всего точек:30"));
}

TEST_F(RunGraphs, IsNoneOfTheSixAndAnyNumberMayBeOpenTillTheProgramCloses) {
  TFormGra* first = openTwo();
  TFormGra* second = openTwo();
  EXPECT_FALSE(first->kind().has_value());
  EXPECT_TRUE(menuMarks.isEmpty());
  for (const ChildWindowFlagsRecord& flags : ChildWindowFlags)
    EXPECT_FALSE(flags.open);
  EXPECT_EQ(FreeChildWindows(), (QList<ChildWindow*>{first, second}));
  first->close();
  EXPECT_TRUE(menuMarks.isEmpty());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(FreeChildWindows(), QList<ChildWindow*>{second});

  ProgramClosing = true;
  EXPECT_TRUE(QTest::qWaitFor([] { return FreeChildWindows().isEmpty(); }, 3000));
}

TEST_F(RunGraphs, ExportsEachRunToTheFileTheUserNames) {
  TempProgramFolder folder;
  TFormGra* window = openTwo();
  QStringList offered;
  QString target = folder.file(QStringLiteral("second.csv"));
  answerDialog = [&](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    if (!files)
      return static_cast<int>(QDialog::Rejected);
    offered << files->selectedFiles().value(0);
    EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
    files->selectFile(target);
    return static_cast<int>(QDialog::Accepted);
  };
  QList<QAction*> exports;
  for (QAction* action : window->actions()) {
    if (action->text().startsWith("Экспорт в CSV"))
      exports << action;
  }
  ASSERT_EQ(exports.size(), 2);
  EXPECT_TRUE(exports[1]->text().contains(kSecondName));
  exports[1]->trigger();
  ASSERT_EQ(offered.size(), 1);
  EXPECT_TRUE(offered[0].endsWith("20261212_190005_2.csv")) << offered[0].toStdString();
  const QStringList lines = QString::fromUtf8(ReadAll(target)).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 51);  // the heading and the second run's 50 samples
  EXPECT_EQ(lines[1],
            "2026-12-12 19:00:05,0.00,2100.0000,2200.0000,2300.0000,2400.0000,"
            "2500.0000,2600.0000,2700.0000,2800.0000,2900.0000,3000.0000");
  EXPECT_TRUE(messages.isEmpty());

  // A file that cannot be written says so: here a folder holds its name.
  target = folder.file(QStringLiteral("taken.csv"));
  ASSERT_TRUE(QDir().mkdir(target));
  exports[0]->trigger();
  EXPECT_EQ(messages, QStringList{"Не удалось записать файл " + target});
}

TEST_F(RunGraphs, ChannelWindowsOfferNoExport) {
  TFormGra window(0);
  for (QAction* action : window.actions())
    EXPECT_FALSE(action->text().startsWith("Экспорт")) << action->text().toStdString();
}

}  // namespace
