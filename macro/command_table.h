#pragma once

#include <QString>

namespace qv {

// The vocabulary of the macro language, in the order in which the compiler
// looks statements up: the first entry whose pattern begins with a
// statement's key wins.

// The letter after a "#" in a pattern.
enum class OperandKind : char {
  S = 'S',  // text: its Windows-1251 bytes and a 0 byte
  I = 'I',  // one byte
  L = 'L',  // two bytes, low first
  F = 'F',  // two bytes of value × 100, bit 15 for the relative suffixes C and S
};

struct MacroCommand {
  int code = 0;
  QString pattern;  // e.g. "STATIC_V(#I, #F, #I, #F)"
};

inline constexpr int kMacroCommandCount = 35;

// Built at start from the texts "code|pattern".
extern const MacroCommand MacroCommandTable[kMacroCommandCount];

int MacroOperandCount(int entry);
// Kind of operand k (from 0) of the entry; I when the pattern has no such operand.
OperandKind MacroOperandKind(int entry, int k);

}  // namespace qv
