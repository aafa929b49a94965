#include "sim/faults.h"

namespace qv::sim {

namespace {

constexpr std::array<const char*, kFaultKinds> kNames = {"silence", "badcrc", "nak",
                                                         "short",   "long",   "delay"};
constexpr int kMaxExtraBytes = 4;

}  // namespace

QString FaultName(FaultKind kind) {
  return QString::fromLatin1(kNames[static_cast<int>(kind)]);
}

std::optional<FaultKind> FaultFromName(const QString& name) {
  for (int i = 0; i < kFaultKinds; ++i) {
    if (name == QLatin1String(kNames[i]))
      return static_cast<FaultKind>(i);
  }
  return std::nullopt;
}

FaultInjector::FaultInjector(const FaultRates& rates, uint64_t randomStart, int delayMs)
    : rates_(rates), random_(randomStart), delayMs_(delayMs) {}

FaultedReply FaultInjector::apply(const QByteArray& reply) {
  std::array<bool, kFaultKinds> hit{};
  for (int i = 0; i < kFaultKinds; ++i)
    hit[i] = random_.uniform() < rates_.rate[i];
  const uint64_t shape = random_.next();
  const uint64_t extra = random_.next();

  FaultedReply out;
  const auto mark = [&](FaultKind kind) {
    out.applied[static_cast<int>(kind)] = true;
    ++counts_[static_cast<int>(kind)];
  };
  const auto wanted = [&](FaultKind kind) { return hit[static_cast<int>(kind)]; };

  if (wanted(FaultKind::Silence)) {
    mark(FaultKind::Silence);
    return out;
  }
  out.bytes = reply;
  if (wanted(FaultKind::Nak)) {
    out.bytes = QByteArray(1, '\xF0');
    mark(FaultKind::Nak);
  }
  const qsizetype length = out.bytes.size();
  if (wanted(FaultKind::BadCrc) && length >= 2) {
    // Any non-zero change of the checksum byte.
    out.bytes[length - 1] = static_cast<char>(out.bytes[length - 1] ^ (1 + shape % 255));
    mark(FaultKind::BadCrc);
  }
  if (wanted(FaultKind::Short) && length >= 2) {
    out.bytes.truncate(1 +
                       static_cast<qsizetype>((shape >> 8) % static_cast<uint64_t>(length - 1)));
    mark(FaultKind::Short);
  }
  if (wanted(FaultKind::Long)) {
    const int count = 1 + static_cast<int>(extra % kMaxExtraBytes);
    for (int k = 0; k < count; ++k)
      out.bytes.append(static_cast<char>(extra >> (8 + 8 * k)));
    mark(FaultKind::Long);
  }
  if (wanted(FaultKind::Delay)) {
    out.delayMs = delayMs_;
    mark(FaultKind::Delay);
  }
  return out;
}

}  // namespace qv::sim
