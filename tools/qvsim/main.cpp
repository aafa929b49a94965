// qvsim: a virtual charger on a pseudo-terminal, for tests and for trying the
// program without hardware. The first line on stdout is the device path.

#include <QCoreApplication>
#include <chrono>
#include <cstdio>

#include "sim/engine.h"
#include "sim/faults.h"
#include "sim/options.h"
#include "sim/pty_runner.h"

using namespace qv;

namespace {

void prepareChannels(const sim::SimOptions& options, sim::Engine& engine) {
  for (int channel : options.dischargeChannels) {
    engine.model().channel(channel).setMode(sim::ChannelMode::Discharge);
  }
  for (int channel : options.startChannels) {
    sim::Battery& battery = engine.model().channel(channel);
    battery.start(battery.mode());
  }
}

qint64 clockRandomStart() {
  using namespace std::chrono;
  return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count() & 0x7FFFFFFF;
}

void describe(const sim::SimOptions& options, const sim::PtyRunner& runner) {
  std::fprintf(stderr, "qvsim: %s, version \"%s\", wire %s, random start value %lld\n",
               qPrintable(runner.devicePath()), options.engine.versionText.constData(),
               options.runner.baud > 0
                   ? qPrintable(QString::number(options.runner.baud) + QStringLiteral(" baud"))
                   : "not emulated",
               static_cast<long long>(options.randomStart));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  sim::SimOptions options;
  QString message;
  switch (sim::ParseSimOptions(QCoreApplication::arguments(), &options, &message)) {
    case sim::ParseResult::Help:
      std::fputs(qPrintable(message), stdout);
      return 0;
    case sim::ParseResult::Error:
      std::fprintf(stderr, "qvsim: %s\n", qPrintable(message));
      return 2;
    case sim::ParseResult::Run:
      break;
  }
  if (!options.randomGiven)
    options.randomStart = clockRandomStart();

  sim::Engine engine(options.engine);
  prepareChannels(options, engine);
  sim::FaultInjector faults(options.faults, static_cast<uint64_t>(options.randomStart),
                            options.delayMs);
  sim::PtyRunner runner(engine, faults, options.runner);
  if (!runner.open(&message)) {
    std::fprintf(stderr, "qvsim: %s\n", qPrintable(message));
    return 1;
  }
  std::printf("%s\n", qPrintable(runner.devicePath()));
  std::fflush(stdout);
  if (!options.quiet)
    describe(options, runner);

  runner.run();

  sim::Statistics statistics = runner.statistics();
  statistics.randomStart = options.randomStart;
  std::fputs(sim::FormatStatistics(statistics).constData(), stderr);
  return 0;
}
