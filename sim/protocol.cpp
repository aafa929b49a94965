#include "sim/protocol.h"

#include "common/crc8.h"

namespace qv::sim {

int RequestLength(const QByteArray& head) {
  if (head.isEmpty())
    return 0;
  switch (ByteAt(head, 0)) {
    case U_WhoAreYou:
    case U_GiveMeScr:
    case U_GiveMeADC:
    case U_DOWN:
    case U_UP:
    case U_CANCEL:
    case U_OK:
      return 1;
    case U_VAR:
      return 3;
    case U_GO:
      return 4;
    case U_ReadMemory:
      return 5;
    case U_Set:
      return 6;
    case U_WriteMemory:
      return head.size() < 4 ? 0 : ByteAt(head, 3) + kReadReplyOverhead;
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

}  // namespace qv::sim
