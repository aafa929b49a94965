#pragma once

#include <QByteArray>
#include <initializer_list>

#include "common/crc8.h"

// Frames built and checked with the project's Crc8, independently of the
// simulator's own frame helpers.
inline QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray bytes;
  for (int v : values)
    bytes.append(static_cast<char>(v));
  return bytes;
}

inline uint8_t CrcOf(const QByteArray& bytes, qsizetype count) {
  return qv::Crc8(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(count));
}

inline QByteArray Framed(QByteArray bytes) {
  bytes.append(static_cast<char>(CrcOf(bytes, bytes.size())));
  return bytes;
}

inline bool ChecksumHolds(const QByteArray& frame) {
  return frame.size() >= 2 && CrcOf(frame, frame.size() - 1) == static_cast<uint8_t>(frame.back());
}

inline QByteArray ReadRequest(int addr, int n) {
  return Framed(Bytes({90, addr & 0xFF, addr >> 8, n}));
}

inline int ByteOf(const QByteArray& frame, int index) {
  return static_cast<uint8_t>(frame.at(index));
}

// A measurement word at byte b, in units.
inline double WordAt(const QByteArray& frame, int b) {
  return (ByteOf(frame, b + 1) * 256 + ByteOf(frame, b)) * 0.01;
}

// Capacity as the desktop program reads it back.
inline double CapacityAt(const QByteArray& frame, int b) {
  const double value = WordAt(frame, b);
  return value > 103.0 ? value - 655.36 : value;
}
