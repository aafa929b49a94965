#include "sim/statistics.h"

namespace qv::sim {

namespace {

void line(QByteArray& text, const QByteArray& key, qint64 value) {
  text += key + ' ' + QByteArray::number(value) + '\n';
}

}  // namespace

QByteArray FormatStatistics(const Statistics& s) {
  QByteArray text;
  line(text, "requests", s.requests);
  line(text, "requests.unknown", s.unknown);
  line(text, "requests.rejected", s.rejected);
  line(text, "requests.incomplete", s.incomplete);
  line(text, "replies", s.replies);
  line(text, "bytes.received", s.bytesReceived);
  line(text, "bytes.sent", s.bytesSent);
  line(text, "port.opens", s.opens);
  for (int i = 0; i < kFaultKinds; ++i) {
    line(text, "fault." + FaultName(static_cast<FaultKind>(i)).toLatin1(), s.faults[i]);
  }
  line(text, "random", s.randomStart);
  return text;
}

}  // namespace qv::sim
