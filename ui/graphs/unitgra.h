#pragma once

#include <QList>
#include <array>

#include "ui/graphs/graph_tables.h"
#include "ui/graphs/run_source.h"
#include "ui/graphs/series_reduction.h"
#include "ui/main/child_window.h"
#include "ui/main/printing.h"

class GraphChartView;
class QLabel;
class QLineSeries;
class QPainter;
class QValueAxis;
class QXYSeries;

// Nine charts of samples in a 3 x 3 grid, one of them enlarged on a click:
// the live graphs of a channel (0 or 1), or runs read back from their files,
// overlaid with times from each run's start.
class TFormGra : public ChildWindow, public Printable {
  Q_OBJECT

 public:
  // One of the "Вид" windows.
  explicit TFormGra(int channel, QWidget* parent = nullptr);
  // A window of its own beside them; several runs each take a colour and the
  // legend names their files.
  explicit TFormGra(QList<qv::LoadedRun> runs, QWidget* parent = nullptr);

  // -1 for runs from files.
  int channel() const { return source_.channel(); }
  const RunSource& source() const { return source_; }
  GraphChartView* chart(int index) const { return charts_[index]; }
  // The series of a quantity, in the order of kGraphQuantities, of a run.
  QLineSeries* series(int quantity, int run = 0) const;
  // The files' names in their colours, above the charts when there are
  // several runs.
  QWidget* legend() const { return legend_; }
  // What was wrong with the files (damaged lines, cut short); hidden when
  // nothing was.
  QLabel* notice() const { return notice_; }

  void LayoutCharts();
  void Chart1Click(int chart);
  void Chart1DblClick();
  // The point report of a sample of a run.
  void Chart1ClickSeries(int sample, int run = 0);
  // Shows the samples in every visible chart that shows fewer; every tick
  // does this.
  void refreshSeries();
  // "Экспорт в CSV..." of a run.
  void exportCsv(int run);

  QString documentName() const override;
  QPageLayout::Orientation pageOrientation() const override { return QPageLayout::Landscape; }
  // The charts as they are shown, on one page under a heading naming the
  // runs and their starts or the channel.
  void print(QPrinter& printer) override;

 protected:
  void tick() override;
  void closing() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A series of a quantity of a run.
  struct Line {
    QLineSeries* series;
    int run;
    int quantity;
  };

  void build();
  void buildChart(int index);
  void buildSeries(int run, int quantity);
  void buildHeader();
  void buildActions();
  QColor lineColour(int run, int quantity) const;
  int paintHeading(QPainter& painter, const QRect& page) const;
  // Where the charts go: below the header.
  int headerHeight() const;
  int& zoomedChart();
  void refillChart(int chart, int count);
  // Draws the shown samples reduced to the chart's pixel columns.
  void drawChart(int chart);
  // A run as a chart shows it: a channel's samples up to the chart's count.
  qv::RunSeries shownRun(int chart, int run) const;
  // The time span of the samples a chart shows.
  ValueRange shownTimes(int chart) const;
  void fitAxisTitle(int chart, int chartHeight);
  // The span of every sample of the chart's series.
  ValueRange chartValueRange(int chart) const;
  ColumnGrid columnGrid(int chart) const;
  // The line a drawn series is; null for none.
  const Line* lineOf(const QXYSeries* series) const;
  // The sample a point of a drawn series stands for; -1 for none.
  int sampleAt(const Line& line, QPointF point) const;

  const RunSource source_;
  int ownZoomedChart_ = qv::kNoZoomedChart;  // a channel keeps its own in its record
  std::array<GraphChartView*, kChartCount> charts_{};
  std::array<QValueAxis*, kChartCount> timeAxes_{};
  std::array<QValueAxis*, kChartCount> valueAxes_{};
  QList<Line> lines_;
  QWidget* header_ = nullptr;
  QWidget* legend_ = nullptr;
  QLabel* notice_ = nullptr;
  // The sample count each chart shows; -1 before its first filling.
  std::array<int, kChartCount> shownCounts_;
  // The pixel columns each chart's series were reduced to.
  std::array<ColumnGrid, kChartCount> drawnGrids_{};
  std::array<double, kChartCount> drawnHeights_{};
};
