#include "sim/framer.h"

#include "sim/protocol.h"

namespace qv::sim {

QList<Frame> FrameAssembler::feed(const QByteArray& bytes, double now) {
  QList<Frame> frames;
  if (auto stale = expire(now))
    frames.append(*stale);
  for (char byte : bytes) {
    partial_.append(byte);
    const int length = RequestLength(partial_);
    if (length < 0) {
      frames.append({partial_, true});
      partial_.clear();
      break;
    }
    if (length > 0 && partial_.size() == length) {
      frames.append({partial_, true});
      partial_.clear();
    }
  }
  last_ = now;
  return frames;
}

std::optional<Frame> FrameAssembler::expire(double now) {
  if (partial_.isEmpty() || now - last_ < gap_)
    return std::nullopt;
  Frame frame{partial_, false};
  partial_.clear();
  return frame;
}

std::optional<double> FrameAssembler::deadline() const {
  if (partial_.isEmpty())
    return std::nullopt;
  return last_ + gap_;
}

}  // namespace qv::sim
