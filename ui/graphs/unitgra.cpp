#include "ui/graphs/unitgra.h"

#include <QGraphicsLayout>
#include <QLineSeries>
#include <QLocale>
#include <QValueAxis>
#include <algorithm>
#include <optional>
#include <utility>

#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/graph_geometry.h"
#include "ui/graphs/point_report.h"

namespace {

constexpr int kFontPixels = 14;
// The value axis title runs along the plot's height; it shrinks to fit a
// small chart rather than lose its end.
constexpr int kLargestTitlePixels = 12;
constexpr int kSmallestTitlePixels = 8;
// What a chart's height holds besides its value axis title: the time axis,
// margins, and the room the title keeps at its ends.
constexpr int kBesideTitle = 40;

// Room a tick label needs along its axis, and the most ticks an axis takes.
constexpr double kPixelsPerTick = 30;
constexpr int kMostTicks = 4;

// Less spread than this many pixel rows in a column does not show.
constexpr double kFlatRows = 0.5;

ChannelRecord& channelData(int channel) {
  return ChannelData[channel];
}

QValueAxis* newAxis(const char* title, const char* numberFormat, bool titleShown) {
  auto* axis = new QValueAxis;
  QFont titleFont(QStringLiteral("Tahoma"));
  titleFont.setBold(true);
  titleFont.setPixelSize(kLargestTitlePixels);
  axis->setTitleFont(titleFont);
  axis->setTitleText(QString::fromUtf8(title));
  axis->setTitleVisible(titleShown);
  axis->setLabelFormat(AxisLabelFormat(numberFormat));
  return axis;
}

// The axis spans the data exactly, with its ticks on round values that its
// labels can tell apart, as many as its length holds without cutting them.
void setRange(QValueAxis* axis, const ValueRange& range, const char* numberFormat, double length) {
  axis->setRange(range.min, range.max);
  const int ticks = std::clamp(static_cast<int>(length / kPixelsPerTick), 1, kMostTicks);
  const double interval =
      NiceTickInterval(range.max - range.min, LabelResolution(numberFormat), ticks);
  if (interval > 0) {
    axis->setTickAnchor(0);
    axis->setTickInterval(interval);
    axis->setTickType(QValueAxis::TicksDynamic);
  } else {
    axis->setTickType(QValueAxis::TicksFixed);
  }
}

int titlePixelSize(QFont font, const QString& title, double room) {
  for (int pixels = kLargestTitlePixels; pixels > kSmallestTitlePixels; --pixels) {
    font.setPixelSize(pixels);
    if (QFontMetrics(font).horizontalAdvance(title) <= room)
      return pixels;
  }
  return kSmallestTitlePixels;
}

}  // namespace

TFormGra::TFormGra(int channel, QWidget* parent)
    : ChildWindow(kGraphWindows[channel].kind, parent), channel_(channel) {
  const GraphWindowInfo& info = kGraphWindows[channel];
  setWindowTitle(QString::fromUtf8(info.caption));
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  setAutoFillBackground(true);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(kFontPixels);
  setFont(font);
  // A zoom left by an earlier window named one of its charts, not ours.
  channelData(channel_).ZoomedChart = kNoZoomedChart;
  for (int k = 0; k < kChartCount; ++k)
    buildChart(k);
  for (int q = 0; q < kQuantityCount; ++q)
    buildSeries(q);
  shownCounts_.fill(-1);
  resize(info.designSize);
  refreshSeries();
}

void TFormGra::buildChart(int index) {
  const GraphChartInfo& info = kGraphCharts[index];
  auto* view = new GraphChartView(this);
  view->setObjectName(QString::fromLatin1(info.name));
  view->setFrameStyle(QFrame::Box | QFrame::Sunken);
  view->setBackgroundBrush(palette().color(QPalette::Window));
  QChart* plot = view->chart();
  plot->legend()->hide();
  plot->setBackgroundVisible(false);
  plot->setPlotAreaBackgroundVisible(false);
  plot->setMargins(QMargins(2, 2, 2, 2));
  plot->layout()->setContentsMargins(0, 0, 0, 0);
  plot->setLocalizeNumbers(true);
  QLocale numbers;  // the user's decimal separator, no digit grouping
  numbers.setNumberOptions(numbers.numberOptions() | QLocale::OmitGroupSeparator);
  plot->setLocale(numbers);
  timeAxes_[index] = newAxis(kTimeAxisTitle, kTimeNumberFormat, false);
  valueAxes_[index] = newAxis(info.axisTitle, info.numberFormat, true);
  plot->addAxis(timeAxes_[index], Qt::AlignBottom);
  plot->addAxis(valueAxes_[index], Qt::AlignLeft);
  // A resize or zoom gives the plot other pixel columns.
  connect(plot, &QChart::plotAreaChanged, this, [this, index, plot] {
    if (shownCounts_[index] >= 0 && (columnGrid(index) != drawnGrids_[index] ||
                                     plot->plotArea().height() != drawnHeights_[index]))
      drawChart(index);
  });
  connect(view, &GraphChartView::clicked, this, [this, index](const SeriesPoint& hit) {
    // Found before the zoom, which draws the series anew.
    const int sample = sampleAt(hit.series, hit.point);
    Chart1Click(index);
    if (sample >= 0)
      Chart1ClickSeries(sample);
  });
  connect(view, &GraphChartView::doubleClicked, this, &TFormGra::Chart1DblClick);
  charts_[index] = view;
}

void TFormGra::buildSeries(int quantity) {
  const GraphQuantityInfo& info = kGraphQuantities[quantity];
  auto* line = new QLineSeries;
  line->setObjectName(QString::fromLatin1(info.seriesName));
  line->setName(SeriesTitle(info));
  QPen pen(QColor::fromRgb(info.colour));
  pen.setWidth(kSeriesLineWidth);
  if (info.dashed)
    pen.setStyle(Qt::DashLine);
  line->setPen(pen);
  QChart* plot = charts_[info.chart]->chart();
  plot->addSeries(line);
  line->attachAxis(timeAxes_[info.chart]);
  line->attachAxis(valueAxes_[info.chart]);
  series_[quantity] = line;
}

void TFormGra::refreshSeries() {
  const int count = RecordedCount(channelData(channel_));
  for (int k = 0; k < kChartCount; ++k) {
    // A hidden chart catches up when it is shown again.
    if (shownCounts_[k] != count && charts_[k]->isVisibleTo(this))
      refillChart(k, count);
  }
}

void TFormGra::refillChart(int chart, int count) {
  shownCounts_[chart] = count;
  drawChart(chart);
}

void TFormGra::drawChart(int chart) {
  const ChannelRecord& record = channelData(channel_);
  const int count = std::max(shownCounts_[chart], 0);
  const ColumnGrid grid = columnGrid(chart);
  drawnGrids_[chart] = grid;
  const ValueRange range = chartValueRange(chart, count);
  // A column whose values stay within half a pixel row shows no spread.
  const double rows = charts_[chart]->chart()->plotArea().height();
  const double flatSpan = rows > 0 ? (range.max - range.min) / rows * kFlatRows : 0;
  drawnHeights_[chart] = rows;
  QList<std::pair<QLineSeries*, QList<QPointF>>> lines;
  for (int q = 0; q < kQuantityCount; ++q) {
    const GraphQuantityInfo& info = kGraphQuantities[q];
    if (info.chart == chart) {
      lines.append(
          {series_[q], ReduceToColumns(record.Time, record.*info.values, count, grid, flatSpan)});
    }
  }
  // Emptied first, so that the new ranges do not lay out the old points
  // once more before the new ones come.
  for (const auto& line : lines)
    line.first->clear();
  const QRectF area = charts_[chart]->chart()->plotArea();
  setRange(timeAxes_[chart], shownTimes(chart), kTimeNumberFormat, area.width());
  setRange(valueAxes_[chart], range, kGraphCharts[chart].numberFormat, area.height());
  for (const auto& line : lines)
    line.first->replace(line.second);
}

// Before the chart lays itself out: a font set from its own layout signal
// leaves the axis labels measured for the old one.
void TFormGra::fitAxisTitle(int chart, int chartHeight) {
  QValueAxis* axis = valueAxes_[chart];
  QFont font = axis->titleFont();
  const int pixels = titlePixelSize(font, axis->titleText(), chartHeight - kBesideTitle);
  if (font.pixelSize() != pixels) {
    font.setPixelSize(pixels);
    axis->setTitleFont(font);
  }
}

ValueRange TFormGra::chartValueRange(int chart, int count) const {
  const ChannelRecord& record = channelData(channel_);
  std::optional<ValueRange> range;
  for (const GraphQuantityInfo& info : kGraphQuantities) {
    if (info.chart != chart)
      continue;
    const ValueRange own = SeriesRange(record.*info.values, count);
    range = range ? Union(*range, own) : own;
  }
  return range.value_or(ValueRange{});
}

ValueRange TFormGra::shownTimes(int chart) const {
  return AscendingRange(channelData(channel_).Time, shownCounts_[chart]);
}

ColumnGrid TFormGra::columnGrid(int chart) const {
  QRectF area = charts_[chart]->chart()->plotArea();
  // Before its first layout a chart has no plot area; its whole width will
  // do until the layout comes.
  if (area.width() < 1)
    area = QRectF(0, 0, charts_[chart]->width(), 0);
  return PixelColumns(shownTimes(chart), area.left(), area.width());
}

int TFormGra::sampleAt(const QXYSeries* series, QPointF point) const {
  if (!series)
    return -1;
  for (int q = 0; q < kQuantityCount; ++q) {
    if (series_[q] != series)
      continue;
    const GraphQuantityInfo& info = kGraphQuantities[q];
    const ChannelRecord& record = channelData(channel_);
    return ClosestSampleIndex(record.Time, record.*info.values, shownCounts_[info.chart], point);
  }
  return -1;
}

void TFormGra::LayoutCharts() {
  const auto placements = ChartCells(size(), channelData(channel_).ZoomedChart);
  for (int k = 0; k < kChartCount; ++k) {
    fitAxisTitle(k, placements[k].geometry.height());
    charts_[k]->setGeometry(placements[k].geometry);
    charts_[k]->setVisible(placements[k].visible);
  }
  refreshSeries();
}

void TFormGra::Chart1Click(int chart) {
  channelData(channel_).ZoomedChart = chart;
  LayoutCharts();
}

void TFormGra::Chart1DblClick() {
  channelData(channel_).ZoomedChart = kNoZoomedChart;
  LayoutCharts();
}

void TFormGra::Chart1ClickSeries(int sample) {
  ShowPointReport(channel_, sample);
}

void TFormGra::tick() {
  refreshSeries();
}

void TFormGra::closing() {
  channelData(channel_).ZoomedChart = kNoZoomedChart;
}

void TFormGra::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  LayoutCharts();
}
