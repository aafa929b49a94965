#pragma once

#include <cstdint>

namespace qv {

// Command and reply codes of the charger's protocol. The names are the ones
// the communication log uses.
enum CommandCode : uint8_t {
  U_Set = 31,
  U_VAR = 45,
  U_GO = 60,
  U_WriteMemory = 75,
  U_ReadMemory = 90,
  U_WhoAreYou = 135,
  U_GiveMeScr = 150,
  U_GiveMeADC = 165,
  U_DOWN = 180,
  U_UP = 195,
  U_CANCEL = 210,
  U_OK = 225,
  U_NotAnderstand = 240,
};

// The charger's display: 4 rows of 20 cells, row by row; a cursor cell of
// 80 or more means no cursor.
inline constexpr int kScreenRows = 4;
inline constexpr int kScreenColumns = 20;
inline constexpr int kScreenCells = kScreenRows * kScreenColumns;
inline constexpr uint8_t kNoCursor = 255;

// The longest frame either side handles.
inline constexpr int kFrameSize = 200;

// Frame lengths that do not depend on the request.
inline constexpr int kVersionReplyLength = 10;
inline constexpr int kScreenReplyLength = 83;
inline constexpr int kMeasurementReplyLength = 25;
inline constexpr int kAckReplyLength = 2;
inline constexpr int kVariableReplyLength = 7;
// A memory-read reply is the block plus code, three header bytes and CRC.
inline constexpr int kReadReplyOverhead = 5;
inline constexpr int kReadRequestLength = 5;

// Reply length of a code whose length is fixed; -1 for a memory read (it
// depends on the request) and 0 for an unknown code.
constexpr int FixedReplyLength(uint8_t code) {
  switch (code) {
    case U_Set:
    case U_GO:
    case U_WriteMemory:
      return kAckReplyLength;
    case U_VAR:
      return kVariableReplyLength;
    case U_ReadMemory:
      return -1;
    case U_WhoAreYou:
      return kVersionReplyLength;
    case U_GiveMeADC:
      return kMeasurementReplyLength;
    case U_GiveMeScr:
    case U_DOWN:
    case U_UP:
    case U_CANCEL:
    case U_OK:
      return kScreenReplyLength;
    case U_NotAnderstand:
      return 1;
    default:
      return 0;
  }
}

}  // namespace qv
