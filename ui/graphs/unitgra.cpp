#include "ui/graphs/unitgra.h"

#include <QAction>
#include <QBoxLayout>
#include <QGraphicsLayout>
#include <QLabel>
#include <QLineSeries>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <QValueAxis>
#include <algorithm>
#include <optional>
#include <utility>

#include "ui/graphs/csv_export.h"
#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/graph_geometry.h"
#include "ui/graphs/point_report.h"
#include "ui/main/colours.h"
#include "ui/main/unitabout.h"

using namespace qv;

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

// The legend and the notice above the charts of runs.
constexpr int kHeaderMargin = 3;
constexpr int kSwatchWidth = 24;
constexpr int kLegendSpacing = 12;

// A printed page's heading is this fraction of its height.
constexpr int kHeadingLines = 40;

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
    : ChildWindow(kGraphWindows[channel].kind, parent), source_(channel) {
  const GraphWindowInfo& info = kGraphWindows[channel];
  setWindowTitle(QString::fromUtf8(info.caption));
  // A zoom left by an earlier window named one of its charts, not ours.
  zoomedChart() = kNoZoomedChart;
  build();
  resize(info.designSize);
  refreshSeries();
}

TFormGra::TFormGra(QList<LoadedRun> runs, QWidget* parent)
    : ChildWindow(parent), source_(std::move(runs)) {
  QStringList names;
  for (int run = 0; run < source_.runCount(); ++run)
    names << source_.name(run);
  setWindowTitle(QStringLiteral("Графики: ") + names.join(QStringLiteral(", ")));
  build();
  refreshSeries();
}

void TFormGra::build() {
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  setAutoFillBackground(true);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(kFontPixels);
  setFont(font);
  for (int k = 0; k < kChartCount; ++k)
    buildChart(k);
  for (int run = 0; run < source_.runCount(); ++run) {
    for (int q = 0; q < kQuantityCount; ++q)
      buildSeries(run, q);
  }
  shownCounts_.fill(-1);
  buildHeader();
  buildActions();
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
    const Line* line = lineOf(hit.series);
    const int sample = line ? sampleAt(*line, hit.point) : -1;
    Chart1Click(index);
    if (sample >= 0)
      Chart1ClickSeries(sample, line->run);
  });
  connect(view, &GraphChartView::doubleClicked, this, &TFormGra::Chart1DblClick);
  charts_[index] = view;
}

QColor TFormGra::lineColour(int run, int quantity) const {
  if (source_.runCount() == 1)
    return ToQColor(kGraphQuantities[quantity].colour);
  return ToQColor(kRunColours[run % kRunColours.size()]);
}

void TFormGra::buildSeries(int run, int quantity) {
  const GraphQuantityInfo& info = kGraphQuantities[quantity];
  auto* line = new QLineSeries;
  line->setObjectName(QString::fromLatin1(info.seriesName));
  line->setName(SeriesTitle(info));
  QPen pen(lineColour(run, quantity));
  pen.setWidth(kSeriesLineWidth);
  if (info.dashed)
    pen.setStyle(Qt::DashLine);
  line->setPen(pen);
  QChart* plot = charts_[info.chart]->chart();
  plot->addSeries(line);
  line->attachAxis(timeAxes_[info.chart]);
  line->attachAxis(valueAxes_[info.chart]);
  lines_.append({line, run, quantity});
}

// Above the charts: the legend of several runs and what was wrong with their
// files. A channel's window has neither.
void TFormGra::buildHeader() {
  header_ = new QWidget(this);
  header_->setObjectName(QStringLiteral("header"));
  auto* rows = new QVBoxLayout(header_);
  rows->setContentsMargins(kHeaderMargin, kHeaderMargin, kHeaderMargin, kHeaderMargin);
  rows->setSpacing(kHeaderMargin);
  legend_ = new QWidget;
  legend_->setObjectName(QStringLiteral("legend"));
  auto* entries = new QHBoxLayout(legend_);
  entries->setContentsMargins(0, 0, 0, 0);
  for (int run = 0; run < source_.runCount(); ++run) {
    QPixmap swatch(kSwatchWidth, kSeriesLineWidth * 2);
    swatch.fill(lineColour(run, 0));
    auto* colour = new QLabel;
    colour->setPixmap(swatch);
    entries->addWidget(colour);
    entries->addWidget(new QLabel(source_.name(run)));
    entries->addSpacing(kLegendSpacing);
  }
  entries->addStretch();
  rows->addWidget(legend_);
  legend_->setVisible(source_.runCount() > 1);

  QStringList warnings;
  for (const LoadedRun& run : source_.loadedRuns()) {
    if (!run.warning().isEmpty())
      warnings << run.fileName() + QStringLiteral(": ") + run.warning();
  }
  notice_ = new QLabel(warnings.join(QLatin1Char('\n')));
  notice_->setObjectName(QStringLiteral("notice"));
  notice_->setWordWrap(true);
  notice_->setStyleSheet(QStringLiteral("QLabel { background: #fff3b0; padding: 2px; }"));
  rows->addWidget(notice_);
  notice_->setVisible(!warnings.isEmpty());
  header_->setVisible(legend_->isVisibleTo(header_) || notice_->isVisibleTo(header_));
}

void TFormGra::buildActions() {
  setContextMenuPolicy(Qt::ActionsContextMenu);
  AddPrintAction(this, *this);
  if (source_.live())
    return;
  for (int run = 0; run < source_.runCount(); ++run) {
    // With several runs the item names the file it writes.
    const QString caption = source_.runCount() == 1
                                ? QStringLiteral("Экспорт в CSV...")
                                : QStringLiteral("Экспорт в CSV: %1...").arg(source_.name(run));
    auto* action = new QAction(caption, this);
    action->setObjectName(QStringLiteral("exportCsv%1").arg(run + 1));
    connect(action, &QAction::triggered, this, [this, run] { exportCsv(run); });
    addAction(action);
  }
}

QLineSeries* TFormGra::series(int quantity, int run) const {
  return lines_[run * kQuantityCount + quantity].series;
}

void TFormGra::refreshSeries() {
  const int count = source_.sampleCount();
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

RunSeries TFormGra::shownRun(int chart, int run) const {
  RunSeries series = source_.series(run);
  // A channel records on while a hidden chart waits to catch up.
  if (source_.live())
    series.count = std::max(shownCounts_[chart], 0);
  return series;
}

void TFormGra::drawChart(int chart) {
  const ColumnGrid grid = columnGrid(chart);
  drawnGrids_[chart] = grid;
  const ValueRange range = chartValueRange(chart);
  // A column whose values stay within half a pixel row shows no spread.
  const double rows = charts_[chart]->chart()->plotArea().height();
  const double flatSpan = rows > 0 ? (range.max - range.min) / rows * kFlatRows : 0;
  drawnHeights_[chart] = rows;
  QList<std::pair<QLineSeries*, QList<QPointF>>> reduced;
  for (const Line& line : lines_) {
    const GraphQuantityInfo& info = kGraphQuantities[line.quantity];
    if (info.chart != chart)
      continue;
    const RunSeries run = shownRun(chart, line.run);
    reduced.append({line.series, ReduceToColumns(run[kTimeField], run[QuantityField(info)],
                                                 run.count, grid, flatSpan)});
  }
  // Emptied first, so that the new ranges do not lay out the old points
  // once more before the new ones come.
  for (const auto& line : reduced)
    line.first->clear();
  const QRectF area = charts_[chart]->chart()->plotArea();
  setRange(timeAxes_[chart], shownTimes(chart), kTimeNumberFormat, area.width());
  setRange(valueAxes_[chart], range, kGraphCharts[chart].numberFormat, area.height());
  for (const auto& line : reduced)
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

ValueRange TFormGra::chartValueRange(int chart) const {
  std::optional<ValueRange> range;
  for (const Line& line : lines_) {
    const GraphQuantityInfo& info = kGraphQuantities[line.quantity];
    if (info.chart != chart)
      continue;
    const RunSeries run = shownRun(chart, line.run);
    const ValueRange own = SeriesRange(run[QuantityField(info)], run.count);
    range = range ? Union(*range, own) : own;
  }
  return range.value_or(ValueRange{});
}

ValueRange TFormGra::shownTimes(int chart) const {
  std::optional<ValueRange> range;
  for (int run = 0; run < source_.runCount(); ++run) {
    const RunSeries series = shownRun(chart, run);
    const ValueRange own = AscendingRange(series[kTimeField], series.count);
    range = range ? Union(*range, own) : own;
  }
  return range.value_or(ValueRange{});
}

ColumnGrid TFormGra::columnGrid(int chart) const {
  QRectF area = charts_[chart]->chart()->plotArea();
  // Before its first layout a chart has no plot area; its whole width will
  // do until the layout comes.
  if (area.width() < 1)
    area = QRectF(0, 0, charts_[chart]->width(), 0);
  return PixelColumns(shownTimes(chart), area.left(), area.width());
}

const TFormGra::Line* TFormGra::lineOf(const QXYSeries* series) const {
  for (const Line& line : lines_) {
    if (line.series == series)
      return &line;
  }
  return nullptr;
}

int TFormGra::sampleAt(const Line& line, QPointF point) const {
  const GraphQuantityInfo& info = kGraphQuantities[line.quantity];
  const RunSeries run = shownRun(info.chart, line.run);
  return ClosestSampleIndex(run[kTimeField], run[QuantityField(info)], run.count, point);
}

int TFormGra::headerHeight() const {
  if (!header_->isVisibleTo(this))
    return 0;
  // A long notice wraps to the window's width.
  return header_->hasHeightForWidth() ? header_->heightForWidth(width())
                                      : header_->sizeHint().height();
}

int& TFormGra::zoomedChart() {
  return source_.live() ? ChannelData[source_.channel()].ZoomedChart : ownZoomedChart_;
}

void TFormGra::LayoutCharts() {
  const int top = headerHeight();
  header_->setGeometry(0, 0, width(), top);
  const auto placements = ChartCells(QSize(width(), height() - top), zoomedChart());
  for (int k = 0; k < kChartCount; ++k) {
    fitAxisTitle(k, placements[k].geometry.height());
    charts_[k]->setGeometry(placements[k].geometry.translated(0, top));
    charts_[k]->setVisible(placements[k].visible);
  }
  refreshSeries();
}

void TFormGra::Chart1Click(int chart) {
  zoomedChart() = chart;
  LayoutCharts();
}

void TFormGra::Chart1DblClick() {
  zoomedChart() = kNoZoomedChart;
  LayoutCharts();
}

void TFormGra::Chart1ClickSeries(int sample, int run) {
  if (source_.live()) {
    ShowPointReport(source_.channel(), sample);
    return;
  }
  // Several reports of several runs: each says whose sample it shows.
  if (TFormAbout* report = ShowPointReport(source_.series(run), sample))
    report->setWindowTitle(source_.name(run));
}

void TFormGra::exportCsv(int run) {
  ExportRunCsv(this, source_.series(run), source_.start(run), source_.name(run));
}

QString TFormGra::documentName() const {
  return windowTitle();
}

void TFormGra::print(QPrinter& printer) {
  QPainter painter(&printer);
  const QRect page = painter.viewport();
  const int headingBottom = paintHeading(painter, page);
  // The charts as the window shows them, scaled to the rest of the page.
  const int top = headerHeight();
  const QRect room = page.adjusted(0, headingBottom - page.top(), 0, 0);
  const double scale =
      std::min(room.width() / double(width()), room.height() / double(height() - top));
  painter.translate(room.topLeft());
  painter.scale(scale, scale);
  painter.translate(0, -top);
  painter.setPen(QPen(Qt::gray, 0));
  for (GraphChartView* view : charts_) {
    if (!view->isVisible())
      continue;
    // The scene, not the widget: lines and texts stay lines and texts.
    view->render(&painter, view->geometry(), view->viewport()->rect());
    painter.drawRect(view->geometry());
  }
}

// A line for each run, in the run's colour when there are several; the
// bottom of the last.
int TFormGra::paintHeading(QPainter& painter, const QRect& page) const {
  QFont headingFont = font();
  headingFont.setPixelSize(std::max(page.height() / kHeadingLines, 1));
  painter.setFont(headingFont);
  const int lineHeight = QFontMetrics(headingFont, painter.device()).height();
  int top = page.top();
  for (int run = 0; run < source_.runCount(); ++run) {
    painter.setPen(source_.runCount() > 1 ? lineColour(run, 0) : QColor(Qt::black));
    painter.drawText(QRect(page.left(), top, page.width(), lineHeight),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     source_.description(run));
    top += lineHeight;
  }
  return top + lineHeight / 2;
}

void TFormGra::tick() {
  refreshSeries();
}

void TFormGra::closing() {
  zoomedChart() = kNoZoomedChart;
}

void TFormGra::resizeEvent(QResizeEvent* event) {
  ChildWindow::resizeEvent(event);
  LayoutCharts();
}
