#pragma once

#include <array>

#include "ui/graphs/graph_tables.h"
#include "ui/graphs/series_reduction.h"
#include "ui/main/child_window.h"

class GraphChartView;
class QLineSeries;
class QValueAxis;
class QXYSeries;

// The graphs window of one channel (0 or 1): nine charts of the recorded
// samples in a 3 x 3 grid, one of them enlarged on a click.
class TFormGra : public ChildWindow {
  Q_OBJECT

 public:
  explicit TFormGra(int channel, QWidget* parent = nullptr);

  int channel() const { return channel_; }
  GraphChartView* chart(int index) const { return charts_[index]; }
  // The series of a quantity in the order of kGraphQuantities.
  QLineSeries* series(int quantity) const { return series_[quantity]; }

  void LayoutCharts();
  void Chart1Click(int chart);
  void Chart1DblClick();
  // The point report of a sample.
  void Chart1ClickSeries(int sample);
  // Shows samples 0 .. Count-1 in every visible chart whose samples are
  // older; every tick does this.
  void refreshSeries();

 protected:
  void tick() override;
  void closing() override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void buildChart(int index);
  void buildSeries(int quantity);
  void refillChart(int chart, int count);
  // Draws the shown samples reduced to the chart's pixel columns.
  void drawChart(int chart);
  // The time span of the samples a chart shows.
  ValueRange shownTimes(int chart) const;
  void fitAxisTitle(int chart, int chartHeight);
  // The span of every sample of the chart's series.
  ValueRange chartValueRange(int chart, int count) const;
  ColumnGrid columnGrid(int chart) const;
  // The sample a point of a drawn series stands for; -1 for none.
  int sampleAt(const QXYSeries* series, QPointF point) const;

  const int channel_;
  std::array<GraphChartView*, kChartCount> charts_{};
  std::array<QValueAxis*, kChartCount> timeAxes_{};
  std::array<QValueAxis*, kChartCount> valueAxes_{};
  std::array<QLineSeries*, kQuantityCount> series_{};
  // The sample count each chart shows; -1 before its first filling.
  std::array<int, kChartCount> shownCounts_;
  // The pixel columns each chart's series were reduced to.
  std::array<ColumnGrid, kChartCount> drawnGrids_{};
  std::array<double, kChartCount> drawnHeights_{};
};
