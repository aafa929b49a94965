#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

namespace qv::sim {

struct Frame {
  QByteArray bytes;
  bool complete = true;
};

// Cuts the incoming byte stream into request frames. A frame's bytes must
// follow each other within the gap; a frame left unfinished for longer is
// handed out as incomplete. A byte no request begins with is a frame of its
// own, and the rest of the bytes that came with it is dropped as line noise,
// so garbage costs one 240 and not one per byte.
class FrameAssembler {
 public:
  explicit FrameAssembler(double gapSeconds) : gap_(gapSeconds) {}

  // Frames finished by these bytes, which arrived together at now.
  QList<Frame> feed(const QByteArray& bytes, double now);
  // The unfinished frame once its gap has passed.
  std::optional<Frame> expire(double now);
  // When the unfinished frame expires, if there is one.
  std::optional<double> deadline() const;

 private:
  double gap_;
  QByteArray partial_;
  double last_ = 0;
};

}  // namespace qv::sim
