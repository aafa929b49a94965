#include <gtest/gtest.h>
#include <QApplication>
#include <QGraphicsTextItem>
#include <QLineSeries>
#include <QPlainTextEdit>
#include <QValueAxis>
#include <QtTest/QTest>
#include <algorithm>
#include <cmath>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "tests/support/printers.h"
#include "tests/support/screenshot.h"
#include "tests/support/shown_windows.h"
#include "tests/support/window_management.h"
#include "tests/ui_graphs/drawn_lines.h"
#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/graphs.h"
#include "ui/graphs/point_report.h"
#include "ui/graphs/unitgra.h"
#include "ui/main/child_window.h"
#include "ui/main/colours.h"
#include "ui/main/unitabout.h"

using namespace qv;

namespace {

constexpr ChildKind kKinds[2] = {ChildKind::Gra, ChildKind::Gra2};

// Distinct values per quantity and sample, so that any mix-up shows.
double sampleValue(int quantity, int k) {
  return (quantity + 1) * 100 + k * 0.5;
}

void injectSamples(int channel, int count) {
  ChannelRecord& c = ChannelData[channel];
  double* const series[] = {c.Current, c.Voltage,    c.Temp, c.HeatsinkTemp, c.Capacity,
                            c.Power,   c.Resistance, c.dIdt, c.dVdt,         c.dTdt};
  // One more than recorded: the live element at Count must not be shown.
  for (int k = 0; k <= count && k < kSeriesCapacity; ++k) {
    c.Time[k] = k * 0.25;
    for (int q = 0; q < 10; ++q)
      series[q][k] = sampleValue(q, k);
  }
  c.Count = count;
}

class GraphWindow : public ::testing::Test {
 protected:
  GraphWindow() {
    InitSharedState();
    ResetWindowManagement();
    Settings.GraPos = QStringLiteral("10,10,557,311");
    Settings.Gra2Pos = QStringLiteral("30,30,571,317");
    RegisterGraphWindows();
  }
  ~GraphWindow() override {
    QLocale::setDefault(QLocale::c());
    for (QWidget* window : QApplication::topLevelWidgets())
      delete window;
    for (ChildKind kind : kKinds)
      RegisterChildWindow(kind, {});
    ResetWindowManagement();
  }

  TFormGra* open(int channel) {
    ToggleChildWindow(kKinds[channel]);
    auto* window = qobject_cast<TFormGra*>(ChildWindowInstance(kKinds[channel]));
    if (window) {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
      QApplication::processEvents();  // lets the charts lay out their plot areas
    }
    return window;
  }

  // The charts own their series, so they are found through the charts.
  static QLineSeries* series(TFormGra& window, const char* name) {
    for (int k = 0; k < 9; ++k) {
      for (QAbstractSeries* s : window.chart(k)->chart()->series()) {
        if (s->objectName() == QLatin1String(name))
          return qobject_cast<QLineSeries*>(s);
      }
    }
    ADD_FAILURE() << "no series " << name;
    static QLineSeries none;
    return &none;
  }

  // The texts the chart shows, as drawn: a title that does not fit is cut
  // short with an ellipsis.
  static QStringList shownTexts(GraphChartView& view) {
    QStringList texts;
    for (QGraphicsItem* item : view.scene()->items()) {
      if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
        texts << text->toPlainText();
    }
    return texts;
  }

  static QList<int> visibleCharts(TFormGra& window) {
    QList<int> shown;
    for (int k = 0; k < 9; ++k) {
      if (window.chart(k)->isVisible())
        shown << k;
    }
    return shown;
  }

  // Viewport position of a series point.
  static QPoint pointPosition(GraphChartView& view, QLineSeries* line, int k) {
    const QPointF inChart = view.chart()->mapToPosition(line->at(k), line);
    return view.mapFromScene(view.chart()->mapToScene(inChart));
  }

  static void click(GraphChartView& view, QPoint at) {
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, at);
  }
  static void doubleClick(GraphChartView& view, QPoint at) {
    click(view, at);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, at);
  }
};

// At the size a window first opens with, every axis title is whole and the
// time labels of a run of seconds do not repeat ("0 0 1 1").
TEST_F(GraphWindow, TitlesFitAndLabelsDifferAtTheFirstSize) {
  const QSize first = ChildInfo(ChildKind::Gra).firstSize;
  injectSamples(0, 2);                          // two samples, a quarter of a minute apart
  std::fill_n(ChannelData[0].Current, 3, 1.0);  // a current that does not change
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  // The first size, and the shortest a window placed beside the main one
  // gets on a small screen.
  for (const int height : {first.height(), first.height() * 85 / 100}) {
    window->resize(first.width(), height);
    QApplication::processEvents();
    for (int k = 0; k < 9; ++k) {
      QChart* chart = window->chart(k)->chart();
      const auto* values = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
      const auto* time = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
      EXPECT_TRUE(shownTexts(*window->chart(k)).contains(values->titleText()))
          << values->titleText().toStdString() << " shows as "
          << shownTexts(*window->chart(k)).join(" | ").toStdString();
      for (const QString& text : shownTexts(*window->chart(k)))
        EXPECT_FALSE(text.endsWith(QStringLiteral("..."))) << text.toStdString() << " in " << k;
      EXPECT_GE(time->tickInterval(), 1.0) << k;
      EXPECT_GE(values->tickInterval(), 0.01) << k;
    }
  }
}

TEST_F(GraphWindow, EachKindOpensItsChannelAndClosesAtTheTickAfterItsMenuItem) {
  for (int channel : {1, 0}) {
    TFormGra* window = open(channel);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->channel(), channel);
    EXPECT_EQ(window->windowTitle(), channel == 0 ? "Графики 1 канала" : "Графики 2 канала");
    EXPECT_EQ(window->size(), channel == 0 ? QSize(557, 311) : QSize(571, 317));
  }
  ChildWindowInstance(ChildKind::Gra)->resize(600, 330);
  ToggleChildWindow(ChildKind::Gra);
  EXPECT_TRUE(QTest::qWaitFor([] { return !ChildWindowFlags[2].open; }, 3000));
  EXPECT_TRUE(Settings.GraPos.endsWith(",600,330")) << Settings.GraPos.toStdString();
  EXPECT_NE(ChildWindowInstance(ChildKind::Gra2), nullptr);
}

TEST_F(GraphWindow, ChartsCarryTheirTitlesFormatsAndLines) {
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  const struct {
    int chart;
    const char* axisTitle;
    const char* format;
    std::vector<const char*> series;
  } charts[] = {
      {0, "Ток (А)", "%.2f", {"Series1"}},
      {1, "V (В)", "%.2f", {"FastLineSeries1"}},
      {2, "Темп-ра (оС)", "%.2f", {"FastLineSeries2", "Series3"}},
      {3, "Емкость (Ач)", "%.2f", {"FastLineSeries3"}},
      {4, "Мощность (Вт)", "%.2f", {"FastLineSeries5"}},
      {5, "R (Ом)", "%.2f", {"FastLineSeries6"}},
      {6, "dI/dt (А/сек)", "%.2f", {"FastLineSeries7"}},
      {7, "dV/dt (В/сек)", "%.2f", {"FastLineSeries8"}},
      {8, "dT/dt (град/сек)", "%.2f", {"FastLineSeries9"}},
  };
  for (const auto& c : charts) {
    QChart* plot = window->chart(c.chart)->chart();
    EXPECT_EQ(window->chart(c.chart)->objectName(), QStringLiteral("Chart%1").arg(c.chart + 1));
    EXPECT_FALSE(plot->legend()->isVisible());
    EXPECT_TRUE(plot->title().isEmpty());
    auto* left = qobject_cast<QValueAxis*>(plot->axes(Qt::Vertical).value(0));
    auto* bottom = qobject_cast<QValueAxis*>(plot->axes(Qt::Horizontal).value(0));
    ASSERT_TRUE(left && bottom);
    EXPECT_EQ(left->titleText(), QString::fromUtf8(c.axisTitle));
    EXPECT_TRUE(left->isTitleVisible());
    EXPECT_EQ(left->labelFormat(), c.format);
    EXPECT_EQ(bottom->titleText(), "Время (мин)");
    EXPECT_FALSE(bottom->isTitleVisible());
    EXPECT_EQ(bottom->labelFormat(), "%.0f");
    QStringList names;
    for (QAbstractSeries* s : plot->series())
      names << s->objectName();
    QStringList expected;
    for (const char* name : c.series)
      expected << QString::fromLatin1(name);
    EXPECT_EQ(names, expected);
  }
  const struct {
    const char* series;
    QColor colour;
    const char* title;
  } lines[] = {
      {"Series1", QColor(255, 0, 0), "Ток (А)"},
      {"FastLineSeries1", QColor(0, 0, 255), "V (В)"},
      {"FastLineSeries2", QColor(0, 128, 0), "Темп-ра (oС)"},
      {"Series3", QColor(255, 255, 0), "Радиатор (oС)"},
      {"FastLineSeries3", QColor(255, 0, 255), "Емкость (Ач)"},
      {"FastLineSeries5", QColor(255, 128, 0), "Мощность (Вт)"},
      {"FastLineSeries6", QColor(128, 0, 255), "R (Ом)"},
      {"FastLineSeries7", QColor(255, 128, 128), "dI/dt (А/сек)"},
      {"FastLineSeries8", QColor(128, 255, 255), "dV/dt (В/сек)"},
      {"FastLineSeries9", QColor(0, 255, 0), "dT/dt (град/сек)"},
  };
  for (const auto& l : lines) {
    QLineSeries* line = series(*window, l.series);
    ASSERT_NE(line, nullptr) << l.series;
    EXPECT_EQ(line->pen().color(), l.colour) << l.series;
    EXPECT_EQ(line->pen().width(), 3) << l.series;
    EXPECT_EQ(line->pen().style(),
              std::string(l.series) == "Series3" ? Qt::DashLine : Qt::SolidLine)
        << l.series;
    EXPECT_FALSE(line->pointsVisible());
    EXPECT_EQ(line->name(), QString::fromUtf8(l.title));
  }
}

TEST_F(GraphWindow, SeriesShowTheRecordedSamplesAndFollowNewOnes) {
  injectSamples(1, 3);
  TFormGra* other = open(0);
  TFormGra* window = open(1);
  ASSERT_TRUE(window && other);
  // In the order of the per-sample log: I, V, T, Tc, E, P, R, dI/dt, dV/dt, dT/dt.
  const char* const names[] = {"Series1",         "FastLineSeries1", "FastLineSeries2",
                               "Series3",         "FastLineSeries3", "FastLineSeries5",
                               "FastLineSeries6", "FastLineSeries7", "FastLineSeries8",
                               "FastLineSeries9"};
  const auto expectSamples = [&](int count) {
    for (int q = 0; q < 10; ++q) {
      const QList<QPointF> points = series(*window, names[q])->points();
      ASSERT_EQ(points.size(), count) << names[q];
      for (int k = 0; k < count; ++k)
        EXPECT_EQ(points[k], QPointF(k * 0.25, sampleValue(q, k))) << names[q] << " " << k;
      EXPECT_EQ(series(*other, names[q])->count(), 0);
    }
  };
  expectSamples(3);

  injectSamples(1, 5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->series(0)->count() == 5; }, 3000));
  expectSamples(5);
  // The axes take in every sample.
  auto* left = qobject_cast<QValueAxis*>(window->chart(2)->chart()->axes(Qt::Vertical).value(0));
  auto* bottom =
      qobject_cast<QValueAxis*>(window->chart(2)->chart()->axes(Qt::Horizontal).value(0));
  EXPECT_LE(left->min(), sampleValue(2, 0));
  EXPECT_GE(left->max(), sampleValue(3, 4));  // the heat sink's line lies above
  EXPECT_LE(bottom->min(), 0);
  EXPECT_GE(bottom->max(), 1);
}

TEST_F(GraphWindow, AZoomedChartFollowsAndTheOthersCatchUpOnTheGrid) {
  injectSamples(0, 4);
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  window->Chart1Click(2);
  injectSamples(0, 9);
  window->refreshSeries();
  EXPECT_EQ(series(*window, "FastLineSeries2")->count(), 9);
  EXPECT_EQ(series(*window, "Series3")->count(), 9);
  window->Chart1DblClick();
  for (int q = 0; q < 10; ++q) {
    ASSERT_EQ(window->series(q)->count(), 9) << q;
    EXPECT_EQ(window->series(q)->at(8).y(), sampleValue(q, 8)) << q;
  }
}

TEST_F(GraphWindow, CountBeyondTheSeriesShowsAllOfThemAndNoMore) {
  injectSamples(0, kSeriesCapacity);
  ChannelData[0].Count = kSeriesCapacity + 10;
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  // Drawn from a few points a pixel column, each line still runs from the
  // first sample to the last of the series.
  const QPointF last((kSeriesCapacity - 1) * 0.25, 0);
  for (int q = 0; q < 10; ++q) {
    const QList<QPointF> points = window->series(q)->points();
    ASSERT_GE(points.size(), 2) << q;
    EXPECT_EQ(points.first(), QPointF(0, sampleValue(q, 0))) << q;
    EXPECT_EQ(points.last(), last + QPointF(0, sampleValue(q, kSeriesCapacity - 1))) << q;
  }
  auto* bottom =
      qobject_cast<QValueAxis*>(window->chart(0)->chart()->axes(Qt::Horizontal).value(0));
  EXPECT_EQ(bottom->max(), last.x());
}

// With far more samples than pixel columns every line has about two points a
// column (the samples rise, so a column's first and last are its lowest and
// highest) for the plot width of the moment: in the grid, resized, zoomed.
TEST_F(GraphWindow, LinesFollowThePlotWidthThroughResizeAndZoom) {
  injectSamples(0, kSeriesCapacity);
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  QLineSeries* line = window->series(0);
  QChart* plot = window->chart(0)->chart();
  const auto expectTwoPointsAColumn = [&](const char* when) {
    const double width = plot->plotArea().width();
    EXPECT_GE(line->count(), 2 * std::floor(width)) << when << ", " << width << " pixels";
    EXPECT_LE(line->count(), 2 * (std::ceil(width) + 1)) << when << ", " << width << " pixels";
  };
  expectTwoPointsAColumn("grid");
  const qsizetype inGrid = line->count();
  window->resize(900, 540);
  QApplication::processEvents();
  expectTwoPointsAColumn("resized");
  window->Chart1Click(0);
  QApplication::processEvents();
  expectTwoPointsAColumn("zoomed");
  EXPECT_GT(line->count(), 4 * inGrid);
  window->Chart1DblClick();
  QApplication::processEvents();
  expectTwoPointsAColumn("grid again");
}

TEST_F(GraphWindow, ClickZoomsResizeFollowsDoubleClickBringsTheGridBack) {
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->chart(8)->geometry(), QRect(370, 206, 185, 103));
  GraphChartView& chart6 = *window->chart(5);
  click(chart6, QPoint(20, 20));
  EXPECT_EQ(ChannelData[0].ZoomedChart, 5);
  EXPECT_EQ(visibleCharts(*window), QList<int>{5});
  EXPECT_EQ(chart6.geometry(), window->rect());
  // A second click on it keeps it zoomed.
  click(chart6, QPoint(30, 30));
  EXPECT_EQ(visibleCharts(*window), QList<int>{5});

  window->resize(700, 400);
  QApplication::processEvents();
  EXPECT_EQ(visibleCharts(*window), QList<int>{5});
  EXPECT_EQ(chart6.geometry(), QRect(0, 0, 700, 400));

  doubleClick(chart6, QPoint(40, 40));
  EXPECT_EQ(ChannelData[0].ZoomedChart, kNoZoomedChart);
  EXPECT_EQ(visibleCharts(*window).size(), 9);
  EXPECT_EQ(chart6.geometry(), QRect(233, 266, 233, 133));
  EXPECT_EQ(window->chart(8)->geometry(), QRect(466, 266, 233, 133));
  EXPECT_TRUE(ShownWindows<TFormAbout>().isEmpty());  // the series are empty
}

TEST_F(GraphWindow, NarrowWindowShowsNothingUntilAChartIsZoomed) {
  TFormGra* window = open(1);
  ASSERT_NE(window, nullptr);
  window->resize(2, 200);
  QApplication::processEvents();
  if (window->width() != 2)
    GTEST_SKIP() << "the platform keeps a minimum width";
  EXPECT_TRUE(visibleCharts(*window).isEmpty());
  window->Chart1Click(3);
  EXPECT_EQ(window->chart(3)->geometry(), QRect(0, 0, 2, 200));
}

TEST_F(GraphWindow, ClosingForgetsTheZoomSoTheNextWindowStartsInTheGrid) {
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  click(*window->chart(2), QPoint(15, 15));
  ASSERT_EQ(ChannelData[0].ZoomedChart, 2);
  window->close();
  EXPECT_EQ(ChannelData[0].ZoomedChart, kNoZoomedChart);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

  ChannelData[0].ZoomedChart = 7;  // left over however it came
  window = open(0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(visibleCharts(*window).size(), 9);
}

TEST_F(GraphWindow, ClickOnASeriesPointZoomsAndReportsThatSample) {
  injectSamples(0, 40);
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  GraphChartView& heat = *window->chart(2);
  QLineSeries* heatSink = series(*window, "Series3");
  const int k = 17;
  click(heat, pointPosition(heat, heatSink, k));
  EXPECT_EQ(visibleCharts(*window), QList<int>{2});
  ASSERT_EQ(ShownWindows<TFormAbout>().size(), 1);
  const QString text = ShownWindows<TFormAbout>()[0]->Memo1->toPlainText();
  EXPECT_TRUE(text.contains("Index =  17.00")) << text.toStdString();
  EXPECT_TRUE(text.contains("Tc(оС)= 408.50")) << text.toStdString();  // sampleValue(3, 17)
  EXPECT_TRUE(text.endsWith("Всего точек:40"));

  // Zoomed now: another point, another window; the first stays.
  QApplication::processEvents();
  click(heat, pointPosition(heat, series(*window, "FastLineSeries2"), 3));
  ASSERT_EQ(ShownWindows<TFormAbout>().size(), 2);
  QStringList indexLines;
  for (TFormAbout* report : ShownWindows<TFormAbout>())
    indexLines << report->Memo1->toPlainText().split(u'\n').value(2);
  indexLines.sort();
  EXPECT_EQ(indexLines, QStringList({"Index =   3.00", "Index =  17.00"}));
}

// Far more samples than pixel columns: the lines are drawn from a few
// samples a column, and a click still names the very sample under it.
TEST_F(GraphWindow, ClickOnAReducedLineReportsTheSampleUnderIt) {
  injectSamples(0, kSeriesCapacity);
  ChannelRecord& c = ChannelData[0];
  c.HeatsinkTemp[4321] = 9999;  // a spike up amid rising lines
  // Two samples of one time, a spike up and one down: the value tells them
  // apart.
  c.Time[9001] = c.Time[9000];
  c.Temp[9000] = 9000;
  c.Temp[9001] = -900;
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  GraphChartView& heat = *window->chart(2);
  QLineSeries* heatSink = series(*window, "Series3");
  QLineSeries* battery = series(*window, "FastLineSeries2");
  ASSERT_LT(heatSink->count(), kSeriesCapacity / 20);
  const auto pointWithValue = [](QLineSeries* line, double value) {
    const QList<QPointF> points = line->points();
    for (qsizetype i = 0; i < points.size(); ++i) {
      if (points[i].y() == value)
        return static_cast<int>(i);
    }
    ADD_FAILURE() << "no point of value " << value;
    return 0;
  };
  const auto newReport = [&](qsizetype before) {
    const QList<TFormAbout*> all = ShownWindows<TFormAbout>();
    EXPECT_EQ(all.size(), before + 1);
    QStringList texts;
    for (TFormAbout* report : all)
      texts << report->Memo1->toPlainText();
    texts.sort();
    return texts;
  };

  click(heat, pointPosition(heat, heatSink, pointWithValue(heatSink, 9999)));
  EXPECT_EQ(visibleCharts(*window), QList<int>{2});
  QStringList texts = newReport(0);
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains("Index =4321.00")) << texts[0].toStdString();
  EXPECT_TRUE(texts[0].contains("Tc(оС)=9999.00")) << texts[0].toStdString();

  // Zoomed and drawn anew for the wider plot.
  QApplication::processEvents();
  click(heat, pointPosition(heat, battery, pointWithValue(battery, -900)));
  texts = newReport(1);
  ASSERT_EQ(texts.size(), 2);
  const QString tie = texts.filter("T(оС) =-900.00").value(0);
  EXPECT_TRUE(tie.contains("Index =9001.00")) << texts.join("\n---\n").toStdString();

  // An ordinary point well inside the line.
  const QList<QPointF> points = battery->points();
  const auto inside = std::find_if(points.begin(), points.end(),
                                   [](QPointF p) { return p.x() > 1500 && p.x() < 2000; });
  ASSERT_NE(inside, points.end());
  const int k = static_cast<int>(inside->x() / 0.25);
  ASSERT_NE(k, inside - points.begin());
  click(heat, pointPosition(heat, battery, static_cast<int>(inside - points.begin())));
  texts = newReport(2);
  ASSERT_EQ(texts.size(), 3);
  const QString plain = texts.filter("Index =" + FormatReportNumber(k)).value(0);
  EXPECT_TRUE(plain.contains("T(оС) =" + FormatReportNumber(sampleValue(2, k))))
      << k << "\n"
      << texts.join("\n---\n").toStdString();
}

TEST_F(GraphWindow, ClickAwayFromTheLinesOnlyZooms) {
  injectSamples(0, 40);
  TFormGra* window = open(0);
  ASSERT_NE(window, nullptr);
  GraphChartView& current = *window->chart(0);
  QLineSeries* line = series(*window, "Series1");
  // The line rises left to right; its top-left corner is far from it.
  const QPoint first = pointPosition(current, line, 0);
  const QPoint last = pointPosition(current, line, 39);
  click(current, QPoint(first.x(), last.y()));
  EXPECT_EQ(visibleCharts(*window), QList<int>{0});
  EXPECT_TRUE(ShownWindows<TFormAbout>().isEmpty());
}

// A charge of a few hours: current tapering, voltage rising, the heat sink
// above the battery.
void injectChargeCurve(int channel, int count) {
  ChannelRecord& c = ChannelData[channel];
  for (int k = 0; k < count; ++k) {
    const double t = k * 0.5;  // minutes
    const double i = 2.0 * std::exp(-t / 400) + 0.1;
    c.Time[k] = t;
    c.Current[k] = i;
    c.Voltage[k] = 1.2 + 0.25 * (1 - std::exp(-t / 200)) + 0.05 * channel;
    c.Temp[k] = 24 + 8 * (1 - std::exp(-t / 300));
    c.HeatsinkTemp[k] = 30 + 10 * (1 - std::exp(-t / 150));
    c.Capacity[k] = (k > 0 ? c.Capacity[k - 1] : 0) + i * 0.5 / 60;
    c.Power[k] = i * c.Voltage[k];
    c.Resistance[k] = c.Voltage[k] / i;
    if (k > 0) {
      c.dIdt[k] = (i - c.Current[k - 1]) / 30;
      c.dVdt[k] = (c.Voltage[k] - c.Voltage[k - 1]) / 30;
      c.dTdt[k] = (c.Temp[k] - c.Temp[k - 1]) / 30;
    }
  }
  c.Count = count;
}

TEST_F(GraphWindow, Screenshots) {
  // As its users see it: decimal commas, and long times without grouping.
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  Settings.GraPos = QStringLiteral("20,20,900,540");
  Settings.Gra2Pos = QStringLiteral("40,40,900,540");
  for (int channel : {0, 1}) {
    injectChargeCurve(channel, 2400 + 800 * channel);
    TFormGra* window = open(channel);
    ASSERT_NE(window, nullptr);
    const QImage image = SavedScreenshot(*window, QStringLiteral("graphs_%1").arg(channel + 1));
    ASSERT_FALSE(image.isNull());
    ASSERT_EQ(image.size(), window->size());
    // Every quantity's line in its colour where its samples lie.
    const ChannelRecord& data = ChannelData[channel];
    for (int q = 0; q < kQuantityCount; ++q) {
      const GraphQuantityInfo& quantity = kGraphQuantities[q];
      SCOPED_TRACE(testing::Message() << "channel " << channel << " " << quantity.seriesName);
      QList<QPointF> samples;
      for (int k = 0; k < data.Count; ++k)
        samples << QPointF(data.Time[k], (data.*quantity.values)[k]);
      ExpectDrawnLines(image, *window, *window->chart(quantity.chart),
                       {{window->series(q), samples}}, ToQColor(quantity.colour));
    }
  }
}

}  // namespace
