#include "sim/battery.h"

#include <algorithm>
#include <cmath>

namespace qv::sim {

namespace {

constexpr double kCellResistance = 0.02;  // ohm
constexpr double kChargeEfficiency = 0.95;
constexpr double kFullLevel = 1.05;   // a charge ends after a little overcharge
constexpr double kCutOffVolts = 1.0;  // per cell
constexpr double kTooHot = 50.0;
constexpr double kBatteryTau = 240.0;   // s
constexpr double kHeatsinkTau = 150.0;  // s
constexpr double kHeatsinkRise = 2.5;   // K per W
constexpr double kMaxStep = 1.0;        // s

double restVoltage(double level) {
  level = std::clamp(level, 0.0, 1.1);
  return 1.0 + 0.22 * level + 0.12 * (1.0 - std::exp(-12.0 * level));
}

// The rise towards full charge and the small drop after the peak that chargers
// watch for.
double chargePeak(double level) {
  if (level <= 0.85)
    return 0.0;
  if (level <= 1.0)
    return 0.10 * (level - 0.85) / 0.15;
  return 0.10 - 0.2 * (level - 1.0);
}

}  // namespace

Battery::Battery(const BatteryPack& pack) : pack_(pack), level_(pack.chargeLevel) {}

void Battery::start(ChannelMode mode) {
  mode_ = mode;
  running_ = true;
  finished_ = false;
  counted_ = 0;
}

void Battery::stop() {
  running_ = false;
}

void Battery::setCurrentSetting(ChannelMode mode, double amps) {
  (mode == ChannelMode::Charge ? pack_.chargeCurrent : pack_.dischargeCurrent) = amps;
}

double Battery::currentSetting(ChannelMode mode) const {
  return mode == ChannelMode::Charge ? pack_.chargeCurrent : pack_.dischargeCurrent;
}

double Battery::current() const {
  return running_ ? currentSetting(mode_) : 0.0;
}

double Battery::cellVoltage() const {
  const double rest = restVoltage(level_);
  if (!running_)
    return rest;
  const double drop = current() * kCellResistance;
  if (mode_ == ChannelMode::Charge)
    return rest + drop + chargePeak(level_);
  return rest - drop;
}

double Battery::voltage() const {
  return pack_.cells * cellVoltage();
}

double Battery::dissipation(double supply) const {
  if (!running_)
    return 0.0;
  if (mode_ == ChannelMode::Charge)
    return std::max(0.0, supply - voltage()) * current();
  return voltage() * current();
}

void Battery::advance(double seconds, double ambient) {
  while (seconds > 0) {
    const double dt = std::min(seconds, kMaxStep);
    step(dt, ambient);
    seconds -= dt;
  }
}

void Battery::step(double dt, double ambient) {
  const double amps = current();
  const double ah = amps * dt / 3600.0;
  if (running_ && mode_ == ChannelMode::Charge) {
    level_ += ah * kChargeEfficiency / pack_.capacityAh;
    counted_ += ah;
  } else if (running_) {
    level_ = std::max(0.0, level_ - ah / pack_.capacityAh);
    counted_ -= ah;
  }
  const double joule = amps * amps * kCellResistance * pack_.cells;
  const bool overcharging = running_ && mode_ == ChannelMode::Charge && level_ > 0.9;
  const double target = ambient + 2.0 * joule + (overcharging ? 80.0 * (level_ - 0.9) : 0.0);
  temperature_ += (target - temperature_) * dt / kBatteryTau;

  if (!running_)
    return;
  const bool done =
      mode_ == ChannelMode::Charge ? level_ >= kFullLevel : cellVoltage() <= kCutOffVolts;
  if (done || temperature_ >= kTooHot) {
    running_ = false;
    finished_ = true;
  }
}

ChargerModel::ChargerModel()
    : channels_{Battery({6, 2.0, 1.0, 0.5, 0.3}), Battery({4, 1.2, 0.6, 0.4, 0.8})} {}

double ChargerModel::supplyVoltage() const {
  double load = 0;
  for (const Battery& b : channels_) {
    if (b.running() && b.mode() == ChannelMode::Charge)
      load += b.current();
  }
  return 12.6 - 0.08 * load;
}

void ChargerModel::advance(double seconds) {
  while (seconds > 0) {
    const double dt = std::min(seconds, kMaxStep);
    double heat = 0;
    for (Battery& b : channels_) {
      heat += b.dissipation(supplyVoltage());
      b.advance(dt, kAmbient);
    }
    heatsink_ += (kAmbient + kHeatsinkRise * heat - heatsink_) * dt / kHeatsinkTau;
    elapsed_ += dt;
    seconds -= dt;
  }
}

}  // namespace qv::sim
