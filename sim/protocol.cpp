#include "sim/protocol.h"

#include "common/crc8.h"

namespace sim {

int RequestLength(const QByteArray& head) {
  if (head.isEmpty())
    return 0;
  switch (ByteAt(head, 0)) {
    case kWhoAreYou:
    case kGiveMeScr:
    case kGiveMeAdc:
    case kDown:
    case kUp:
    case kCancel:
    case kOk:
      return 1;
    case kVar:
      return 3;
    case kGo:
      return 4;
    case kReadMemory:
      return 5;
    case kSet:
      return 6;
    case kWriteMemory:
      return head.size() < 4 ? 0 : ByteAt(head, 3) + 5;
    default:
      return -1;
  }
}

uint8_t FrameCrc(const char* bytes, qsizetype count) {
  return Crc8(reinterpret_cast<const uint8_t*>(bytes), static_cast<size_t>(count));
}

QByteArray WithCrc(QByteArray frame) {
  frame.append(static_cast<char>(FrameCrc(frame.constData(), frame.size())));
  return frame;
}

bool HasValidCrc(const QByteArray& frame) {
  if (frame.size() < 2)
    return false;
  return FrameCrc(frame.constData(), frame.size() - 1) == ByteAt(frame, frame.size() - 1);
}

}  // namespace sim
