#pragma once

#include <QByteArray>
#include <cstdint>

#include "common/commands.h"

// The wire format as the simulated charger sees it.
//
// Request layouts of the commands the desktop program never sends. Each ends
// in a Crc8 of the bytes before it, like the memory read, so that line noise
// cannot set a current or write memory:
//   31 U_Set          31, sel, what, value lo, value hi, crc            (6 bytes)
//                     sel bit 7: channel (clear = 1, set = 2), bits 0..6 ignored;
//                     what: 0 = charge current, 1 = discharge current;
//                     value: the current in hundredths of an ampere, at most 1000.
//   45 U_VAR          45, number, crc                                   (3 bytes)
//                     reply: 45, number, value as 32 bits low byte first, crc.
//   60 U_GO           60, cells, action, crc                            (4 bytes)
//                     cells: cells of the pack, 1..20, 0 keeps the pack;
//                     action bit 7: channel (clear = 1, set = 2); bits 0..1:
//                     0 = stop, 1 = start charging, 2 = start discharging.
//   75 U_WriteMemory  75, addr lo, addr hi, n, n data bytes, crc        (n + 5 bytes)
//                     the same range rules as a read.
// A request that breaks its rules is answered with 240.
namespace qv::sim {

// Total length of the request that begins with head; 0 while more bytes are
// needed to tell; -1 when no request begins with this code.
int RequestLength(const QByteArray& head);

uint8_t FrameCrc(const char* bytes, qsizetype count);
// The frame with the Crc8 of all its bytes appended.
QByteArray WithCrc(QByteArray frame);
// The last byte is the Crc8 of the others.
bool HasValidCrc(const QByteArray& frame);

inline QByteArray NotUnderstood() {
  return QByteArray(1, static_cast<char>(U_NotAnderstand));
}

inline uint8_t ByteAt(const QByteArray& frame, qsizetype index) {
  return static_cast<uint8_t>(frame.at(index));
}

}  // namespace qv::sim
