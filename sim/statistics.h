#pragma once

#include <QByteArray>
#include <array>

#include "sim/faults.h"

namespace qv::sim {

// Counters of one run, printed at exit as "key value" lines:
//   requests             frames answered or silenced, including the three below
//   requests.unknown     frames starting with a code no request has
//   requests.rejected    bad checksum, range, length or field
//   requests.incomplete  frames cut short by the inter-byte gap
//   replies              replies put on the wire (not silenced)
//   bytes.received, bytes.sent
//   port.opens           times a client opened the device
//   fault.<kind>         per fault kind, every kind listed
//   random               the random start value, to repeat the run
struct Statistics {
  qint64 requests = 0;
  qint64 unknown = 0;
  qint64 rejected = 0;
  qint64 incomplete = 0;
  qint64 replies = 0;
  qint64 bytesReceived = 0;
  qint64 bytesSent = 0;
  qint64 opens = 0;
  std::array<qint64, kFaultKinds> faults{};
  qint64 randomStart = 0;
};

QByteArray FormatStatistics(const Statistics& statistics);

}  // namespace qv::sim
