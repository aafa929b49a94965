#include "app/demo_charger.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <algorithm>
#include <cstring>

#include "sim/engine.h"

using namespace qv;

namespace {

constexpr double kDemoTimeScale = 10;

sim::EngineSettings demoSettings() {
  sim::EngineSettings settings;
  settings.timeScale = kDemoTimeScale;
  return settings;
}

// Every write is one request frame; its reply waits to be read.
class DemoChargerPort final : public DevicelessPort {
 public:
  DemoChargerPort() : engine_(demoSettings()) {
    sim::Battery& battery = engine_.model().channel(0);
    battery.start(battery.mode());
    clock_.start();
  }

  bool purge() override {
    pending_.clear();
    return true;
  }

  bool write(const uint8_t* bytes, int count) override {
    engine_.setClock(static_cast<double>(clock_.nsecsElapsed()) / 1e9);
    pending_ += engine_.reply(QByteArray(reinterpret_cast<const char*>(bytes), count));
    return true;
  }

  int read(uint8_t* bytes, int count) override {
    const int n = std::min(count, static_cast<int>(pending_.size()));
    std::memcpy(bytes, pending_.constData(), static_cast<size_t>(n));
    pending_.remove(0, n);
    return n;
  }

 private:
  sim::Engine engine_;
  QElapsedTimer clock_;
  QByteArray pending_;
};

}  // namespace

std::unique_ptr<SerialPortIo> CreateDemoCharger() {
  return std::make_unique<DemoChargerPort>();
}
