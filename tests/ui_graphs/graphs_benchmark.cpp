// Prints how long the graphs window takes with full series: building it,
// refilling after a new sample, painting the grid and a zoomed chart, and
// finding the point under a click.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineSeries>
#include <cstdio>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "tests/ui_graphs/benchmark_samples.h"
#include "ui/graphs/graph_chart_view.h"
#include "ui/graphs/unitgra.h"

using namespace qv;

namespace {

template <typename F>
double milliseconds(F&& f) {
  QElapsedTimer timer;
  timer.start();
  f();
  return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InitSharedState();
  Settings.GraPos = QStringLiteral("0,0,900,540");
  FillBenchmarkSamples(ChannelData[0], kSeriesCapacity - 2);

  TFormGra* window = nullptr;
  std::printf("build with %d samples: %.1f ms\n", ChannelData[0].Count,
              milliseconds([&] { window = new TFormGra(0); }));
  window->show();
  std::printf("show and lay out: %.1f ms\n", milliseconds([] { QApplication::processEvents(); }));
  std::printf("paint grid: %.1f ms\n", milliseconds([&] { window->grab(); }));
  std::printf("refill, Count unchanged: %.3f ms\n", milliseconds([&] { window->refreshSeries(); }));
  FillBenchmarkSamples(ChannelData[0], kSeriesCapacity - 1);
  std::printf("refill after one sample more: %.1f ms\n",
              milliseconds([&] { window->refreshSeries(); }));
  std::printf("pending events (the repaint) after it: %.1f ms\n",
              milliseconds([] { QApplication::processEvents(); }));
  std::printf("paint grid again: %.1f ms\n", milliseconds([&] { window->grab(); }));
  std::printf("zoom and paint: %.1f ms\n", milliseconds([&] {
                window->Chart1Click(2);
                window->grab();
              }));
  FillBenchmarkSamples(ChannelData[0], kSeriesCapacity);
  std::printf("zoomed refill after one sample more: %.1f ms\n",
              milliseconds([&] { window->refreshSeries(); }));
  std::printf("back to the grid, eight charts catching up, and paint: %.1f ms\n", milliseconds([&] {
                window->Chart1DblClick();
                window->grab();
              }));
  GraphChartView* chart = window->chart(2);
  std::printf("point under a click: %.2f ms\n",
              milliseconds([&] { chart->pointAt(chart->rect().center()); }));
  delete window;
  return 0;
}
