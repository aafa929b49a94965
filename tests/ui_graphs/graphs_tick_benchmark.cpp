// Prints what a tick of the live graphs costs with both windows open and
// full series: after one sample more in both channels, a tick refills both
// windows and repaints every chart. The last line is the summary that
// tools/bench-graphs.sh reports.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "acquisition/shared_state.h"
#include "common/settings_record.h"
#include "tests/ui_graphs/benchmark_samples.h"
#include "ui/graphs/unitgra.h"

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
  TFormGra* windows[] = {new TFormGra(0), new TFormGra(1)};
  for (TFormGra* window : windows)
    window->show();
  QApplication::processEvents();
  for (TFormGra* window : windows)
    window->grab();  // the first paint fills the glyph and style caches
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
    QApplication::processEvents();
    for (TFormGra* window : windows)
      window->grab();  // renders every visible chart anew
    times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    std::printf("tick %2d, %d samples: %.1f ms, of which the refills %.1f ms\n", tick + 1,
                ChannelData[0].Count, times.back(), refill);
  }
  const double rss = residentMegabytes();
  for (TFormGra* window : windows)
    delete window;
  std::printf("graphs tick: %.1f ms median, %.1f ms max; RSS: %.1f MB\n", median(times),
              *std::max_element(times.begin(), times.end()), rss);
  return 0;
}
