#include "macro/byte_code.h"

#include <cmath>

#include "common/cp1251.h"
#include "common/crc8.h"
#include "common/text.h"

namespace qv {

CompiledMacroRecord CompiledMacro;

namespace {

constexpr int kFazeCode = 8;
constexpr int kCycleCode = 6;
constexpr int kChargeSectionCode = 4;
constexpr unsigned kRelativeBit = 0x8000;

// floor(value) modulo the given power of two, negatives in two's complement.
// A value too large for a double to hold (only a product can overflow) gives 0.
unsigned wrappedFloor(double value, double modulus) {
  if (!std::isfinite(value))
    return 0;
  double wrapped = std::fmod(std::floor(value), modulus);
  if (wrapped < 0)
    wrapped += modulus;
  return static_cast<unsigned>(wrapped);
}

bool isRelative(const QString& text) {
  return text.contains(u'C', Qt::CaseInsensitive) || text.contains(u'S', Qt::CaseInsensitive);
}

QByteArray lowByteFirst(unsigned word) {
  QByteArray bytes;
  bytes.append(static_cast<char>(word & 0xFF));
  bytes.append(static_cast<char>((word >> 8) & 0xFF));
  return bytes;
}

}  // namespace

void ResetCompiledMacro() {
  CompiledMacro = CompiledMacroRecord();
}

void EmitByte(int line, uint8_t value) {
  CompiledMacroRecord& m = CompiledMacro;
  m.image[m.length] = value;
  ++m.length;
  ++m.LineByteCounts[line];
  if (line >= m.lineCount)
    m.lineCount = line + 1;
}

void EmitCommandCode(int line, int entry) {
  const int code = MacroCommandTable[entry].code;
  EmitByte(line, static_cast<uint8_t>(code));
  if (code == kFazeCode)
    ++CompiledMacro.phaseCount;
  if (code == kCycleCode)
    ++CompiledMacro.cycleCount;
  if (code == kChargeSectionCode)
    CompiledMacro.image[1] = CompiledMacro.length;
}

void SealMacroImage() {
  CompiledMacroRecord& m = CompiledMacro;
  m.image[0] = m.length;
  if (m.length > 0)
    m.image[m.length - 1] = Crc8(m.image, m.length - 1u);
}

QByteArray EncodeOperand(const QString& text, OperandKind kind) {
  switch (kind) {
    case OperandKind::S: {
      QByteArray bytes = ToCp1251(text);
      bytes.append('\0');
      return bytes;
    }
    case OperandKind::I:
      return QByteArray(1, static_cast<char>(wrappedFloor(TextToReal(text), 256.0)));
    case OperandKind::L:
      return lowByteFirst(wrappedFloor(TextToReal(text), 65536.0));
    case OperandKind::F: {
      unsigned word = wrappedFloor(TextToReal(text) * 100.0, 65536.0);
      if (isRelative(text))
        word |= kRelativeBit;
      return lowByteFirst(word);
    }
  }
  return {};
}

}  // namespace qv
