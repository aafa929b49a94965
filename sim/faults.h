#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

#include "sim/random.h"

namespace qv::sim {

enum class FaultKind { Silence, BadCrc, Nak, Short, Long, Delay };
constexpr int kFaultKinds = 6;

// Option and statistics names: silence, badcrc, nak, short, long, delay.
QString FaultName(FaultKind kind);
std::optional<FaultKind> FaultFromName(const QString& name);

struct FaultRates {
  std::array<double, kFaultKinds> rate{};
  double& operator[](FaultKind kind) { return rate[static_cast<int>(kind)]; }
  double operator[](FaultKind kind) const { return rate[static_cast<int>(kind)]; }
};

struct FaultedReply {
  QByteArray bytes;  // what goes on the wire; empty when silent
  int delayMs = 0;
  std::array<bool, kFaultKinds> applied{};
  bool silent() const { return applied[static_cast<int>(FaultKind::Silence)]; }
  bool has(FaultKind kind) const { return applied[static_cast<int>(kind)]; }
};

// Spoils replies at random, each kind with its own rate. Every reply draws the
// same number of random values whatever happens to it, so a run repeats
// exactly for the same random start value and the same requests.
//   silence  no reply at all (then nothing else applies)
//   nak      the reply is replaced by 240
//   badcrc   the last byte is corrupted (replies of 2 bytes or more)
//   short    only the first 1 .. L-1 bytes are sent (replies of 2 bytes or more)
//   long     1 to 4 extra bytes follow the reply
//   delay    the reply starts after the delay time
class FaultInjector {
 public:
  FaultInjector(const FaultRates& rates, uint64_t randomStart, int delayMs);

  FaultedReply apply(const QByteArray& reply);
  qint64 count(FaultKind kind) const { return counts_[static_cast<int>(kind)]; }

 private:
  FaultRates rates_;
  SimRandom random_;
  int delayMs_;
  std::array<qint64, kFaultKinds> counts_{};
};

}  // namespace qv::sim
