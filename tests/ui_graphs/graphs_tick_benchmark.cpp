// Prints what a tick of the live graphs costs with both windows open and
// full series: after one sample more in both channels, a tick refills both
// windows and lets the event loop repaint every visible chart once, as the
// program does. The last line is the summary that tools/bench-graphs.sh
// reports.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "tests/ui_graphs/benchmark_samples.h"
#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/unitgra.h"

using namespace qv;

namespace {

constexpr int kDefaultTicks = 25;

double residentMegabytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
  }
  return 0;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Counts the paints of the charts, so that a tick is known to have painted
// every visible chart and not only to have asked for it.
class PaintCounter : public QObject {
 public:
  void watch(TFormGra& window) {
    for (int k = 0; k < kChartCount; ++k)
      window.chart(k)->viewport()->installEventFilter(this);
  }
  void reset() {
    painted.clear();
    paints = 0;
  }
  QSet<QObject*> painted;
  int paints = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      painted.insert(watched);
      ++paints;
    }
    return false;
  }
};

// The event loop repaints what the refill changed, as after a tick in the
// program; a visible chart it left alone is then repainted as well, so that
// every one paints. Returns the paints.
int repaintCharts(TFormGra* const (&windows)[2], PaintCounter& counter) {
  counter.reset();
  QApplication::processEvents();
  QList<QWidget*> visible;
  for (TFormGra* window : windows) {
    for (int k = 0; k < kChartCount; ++k) {
      if (window->chart(k)->isVisible())
        visible << window->chart(k)->viewport();
    }
  }
  const auto unpainted = [&] {
    return std::count_if(visible.begin(), visible.end(),
                         [&](QWidget* w) { return !counter.painted.contains(w); });
  };
  for (QWidget* viewport : visible) {
    if (!counter.painted.contains(viewport))
      viewport->update();
  }
  QElapsedTimer guard;
  guard.start();
  while (unpainted() > 0 && guard.elapsed() < 10000)
    QApplication::processEvents();
  return counter.paints;
}

// The channel records one more sample, as acquisition does.
void recordOneMore(ChannelRecord& channel) {
  WriteBenchmarkSample(channel, channel.Count);
  ++channel.Count;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultTicks;
  InitSharedState();
  Settings.GraPos = QStringLiteral("0,0,900,540");
  Settings.Gra2Pos = QStringLiteral("0,0,900,540");
  for (ChannelRecord& channel : ChannelData)
    FillBenchmarkSamples(channel, kSeriesCapacity - ticks);

  QElapsedTimer timer;
  timer.start();
  TFormGra* const windows[] = {new TFormGra(0), new TFormGra(1)};
  PaintCounter counter;
  for (TFormGra* window : windows) {
    counter.watch(*window);
    window->show();
  }
  QApplication::processEvents();
  repaintCharts(windows, counter);  // the first paint also fills the glyph and style caches
  std::printf("open both windows with %d samples and paint them: %.1f ms\n", ChannelData[0].Count,
              static_cast<double>(timer.nsecsElapsed()) / 1e6);

  std::vector<double> times;
  for (int tick = 0; tick < ticks; ++tick) {
    for (ChannelRecord& channel : ChannelData)
      recordOneMore(channel);
    timer.restart();
    for (TFormGra* window : windows)
      window->refreshSeries();
    const double refill = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    const int painted = repaintCharts(windows, counter);
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    std::printf("tick %2d, %d samples: %.1f ms, of which the refills %.1f ms; %d chart paints\n",
                tick + 1, ChannelData[0].Count, times.back(), refill, painted);
  }
  const double rss = residentMegabytes();
  for (TFormGra* window : windows)
    delete window;
  std::printf("graphs tick: %.1f ms median, %.1f ms max; RSS: %.1f MB\n", median(times),
              *std::max_element(times.begin(), times.end()), rss);
  return 0;
}
