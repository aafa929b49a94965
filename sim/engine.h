#pragma once

#include <QByteArray>
#include <optional>

#include "sim/battery.h"
#include "sim/menu.h"

namespace qv::sim {

struct EngineSettings {
  // Up to 8 Windows-1251 bytes; padded with blanks.
  QByteArray versionText = "QV V2.3Z";
  // Above 0: every measurement request moves the batteries on by this many
  // seconds and the clock is ignored, so runs repeat exactly.
  double stepSeconds = 0;
  // Battery seconds per clock second.
  double timeScale = 1;
};

// The charger's side of the protocol: one request frame in, its reply out,
// with the batteries, the menu and the memory behind it. No I/O, no clock of
// its own.
class Engine {
 public:
  explicit Engine(const EngineSettings& settings = {});
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // The reply to one request frame (an incomplete frame gets 240).
  QByteArray reply(const QByteArray& request);
  // Monotonic seconds; moves the batteries on unless in step mode.
  void setClock(double seconds);

  ChargerModel& model() { return model_; }
  const Menu& menu() const { return menu_; }
  const QByteArray& memory() const { return memory_; }
  QByteArray versionText() const { return versionText_; }

  qint64 unknownRequests() const { return unknown_; }
  qint64 rejectedRequests() const { return rejected_; }

 private:
  QByteArray rejected();
  QByteArray versionReply() const;
  QByteArray screenReply(uint8_t code) const;
  QByteArray measurementReply();
  QByteArray readReply(const QByteArray& request);
  QByteArray writeReply(const QByteArray& request);
  QByteArray setReply(const QByteArray& request);
  QByteArray varReply(const QByteArray& request) const;
  QByteArray goReply(const QByteArray& request);
  QByteArray buttonReply(uint8_t code);
  quint32 variable(uint8_t number) const;

  EngineSettings settings_;
  QByteArray versionText_;
  ChargerModel model_;
  Menu menu_;
  QByteArray memory_;
  std::optional<double> clock_;
  qint64 handled_ = 0;
  qint64 unknown_ = 0;
  qint64 rejected_ = 0;
};

// The 8 version bytes: cut or padded with blanks.
QByteArray VersionBytes(const QByteArray& text);

// A measurement word: hundredths, rounded, clamped to 16 bits. Negative
// capacities wrap as the desktop program reads them back (a word above 10300
// stands for value - 655.36), as far as that range reaches.
quint16 MeasurementWord(double value);
quint16 CapacityWord(double ah);

}  // namespace qv::sim
