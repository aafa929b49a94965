#pragma once

#include <array>

namespace qv::sim {

enum class ChannelMode { Charge, Discharge };

struct BatteryPack {
  int cells = 6;
  double capacityAh = 2.0;
  double chargeCurrent = 1.0;
  double dischargeCurrent = 0.5;
  double chargeLevel = 0.3;  // 0 = empty, 1 = full
};

// One NiMH pack on one channel: a rest-voltage curve over the charge level,
// internal resistance, the voltage peak and heating at the end of a charge,
// and a cut-off at 1.0 V per cell on discharge.
class Battery {
 public:
  explicit Battery(const BatteryPack& pack);

  void start(ChannelMode mode);
  void stop();
  void setMode(ChannelMode mode) { mode_ = mode; }
  void setCells(int cells) { pack_.cells = cells; }
  void setCurrentSetting(ChannelMode mode, double amps);
  double currentSetting(ChannelMode mode) const;

  void advance(double seconds, double ambient);

  ChannelMode mode() const { return mode_; }
  bool running() const { return running_; }
  // The last run ended by itself (full, empty or too hot).
  bool finished() const { return finished_; }
  bool hot() const { return temperature_ >= kHotTemperature; }
  int cells() const { return pack_.cells; }
  double chargeLevel() const { return level_; }
  // Magnitude of the current, in both directions.
  double current() const;
  double voltage() const;
  double temperature() const { return temperature_; }
  // Counted since the last start; negative while discharging.
  double capacity() const { return counted_; }
  // Heat the channel's regulator or load leaves in the heat sink.
  double dissipation(double supply) const;

  static constexpr double kHotTemperature = 40.0;

 private:
  void step(double dt, double ambient);
  double cellVoltage() const;

  BatteryPack pack_;
  ChannelMode mode_ = ChannelMode::Charge;
  bool running_ = false;
  bool finished_ = false;
  double level_;
  double temperature_ = 24.0;
  double counted_ = 0;
};

// Both channels with the shared heat sink and supply.
class ChargerModel {
 public:
  ChargerModel();

  Battery& channel(int index) { return channels_.at(index); }
  const Battery& channel(int index) const { return channels_.at(index); }
  void advance(double seconds);

  double elapsed() const { return elapsed_; }
  double supplyVoltage() const;
  double heatsinkTemperature() const { return heatsink_; }

  static constexpr double kAmbient = 24.0;

 private:
  std::array<Battery, 2> channels_;
  double heatsink_ = kAmbient;
  double elapsed_ = 0;
};

}  // namespace qv::sim
