#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "macro/command_table.h"

namespace qv {

// The compiled macro: the image the charger keeps a macro in, at most 255
// bytes: length, offset after the last CHARGE_SECTION code, 0, the statements,
// and the CRC in place of the last statement byte.
inline constexpr int kMacroImageLimit = 255;
// LineByteCounts covers lines 0 to 255.
inline constexpr int kMacroLineLimit = 256;

struct CompiledMacroRecord {
  uint8_t image[256] = {};
  uint8_t length = 0;  // bytes emitted; after sealing, the image length
  uint8_t LineByteCounts[kMacroLineLimit] = {};
  int lineCount = 0;  // 1 + the highest line that produced a byte
  uint8_t phaseCount = 0;
  uint8_t cycleCount = 0;
  uint8_t errorCount = 0;
};

// Replaced by each compilation; the listing and the editor read it.
extern CompiledMacroRecord CompiledMacro;

void ResetCompiledMacro();

// Callers keep line below kMacroLineLimit and length below 256.
void EmitByte(int line, uint8_t value);
// The code byte of a table entry, with the phase, cycle and charge-section
// bookkeeping that goes with it.
void EmitCommandCode(int line, int entry);
// image[0] = length, the CRC of the bytes before it in the last byte.
void SealMacroImage();

// The bytes of one operand (text already trimmed, upper-cased for S).
QByteArray EncodeOperand(const QString& text, OperandKind kind);

}  // namespace qv
