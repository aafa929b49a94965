// Prints how long LoadRun takes on a run file of kRunLineLimit lines, written
// by the recorder's own line formatting under a Russian locale from a charge
// of a six-cell pack. The last line is the median that
// tools/bench-read-run.sh reports.
//   run_read_benchmark [READS]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "acquisition/run_file.h"
#include "acquisition/sample_log.h"
#include "acquisition/shared_state.h"

using namespace qv;

namespace {

constexpr int kDefaultReads = 15;
constexpr double kSampleMinutes = 3.0 / 60;  // the program's polling default

// Sample k of a 1 A charge: the voltage climbs and levels off, the
// temperature rises at the end, the counter grows.
void writeChargeSample(ChannelRecord& c, int k) {
  const double level = static_cast<double>(k) / kRunLineLimit;
  c.Time[k] = k * kSampleMinutes;
  c.Current[k] = 1.0 + 0.01 * std::sin(k * 0.7);
  c.Voltage[k] = 6 * (1.25 + 0.2 * level + 0.05 * std::exp(-40 * level));
  c.Temp[k] = 22 + 15 * std::pow(level, 6);
  c.HeatsinkTemp[k] = 31 + 2 * std::sin(k * 0.001);
  c.Capacity[k] = c.Time[k] / 60 * c.Current[k];
  c.Power[k] = c.Current[k] * c.Voltage[k];
  c.Resistance[k] = c.Voltage[k] / c.Current[k];
  c.dIdt[k] = k > 0 ? (c.Current[k] - c.Current[k - 1]) / 3 : 0;
  c.dVdt[k] = k > 0 ? (c.Voltage[k] - c.Voltage[k - 1]) / 3 : 0;
  c.dTdt[k] = k > 0 ? (c.Temp[k] - c.Temp[k - 1]) / 3 : 0;
}

bool writeChargeFile(const QString& path) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  ChannelRecord& c = ChannelData[0];
  QByteArray bytes;
  for (int k = 0; k < kRunLineLimit; ++k) {
    writeChargeSample(c, k);
    bytes += SampleLine(c, k).toLatin1() + "\r\n";
  }
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int reads = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultReads;
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("20240131_120000_1.gra"));
  if (!folder.isValid() || !writeChargeFile(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::vector<double> times;
  for (int i = 0; i < reads; ++i) {
    LoadedRun run;
    QString error;
    QElapsedTimer clock;
    clock.start();
    const bool read = LoadRun(path, &run, &error);
    times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    if (!read || run.count() != kRunLineLimit || run.skippedLines != 0) {
      std::fprintf(stderr, "read %d samples, skipped %d: %s\n", run.count(), run.skippedLines,
                   qPrintable(error));
      return 1;
    }
    std::printf("read %d: %.1f ms\n", i + 1, times.back());
  }
  std::printf("fastest %.1f ms, slowest %.1f ms over %d reads of %lld bytes\n",
              *std::min_element(times.begin(), times.end()),
              *std::max_element(times.begin(), times.end()), reads,
              static_cast<long long>(QFile(path).size()));
  std::printf("read run: %.0f ms median for %d lines\n", median(times), kRunLineLimit);
  return 0;
}
