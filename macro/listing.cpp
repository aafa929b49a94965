#include "macro/listing.h"

#include "common/settings_record.h"
#include "common/text.h"
#include "macro/byte_code.h"

namespace qv {

namespace {

QStringList infoItems() {
  const CompiledMacroRecord& m = CompiledMacro;
  const unsigned crc = m.length > 0 ? m.image[m.length - 1] : 0;
  return {
      QStringLiteral("   Имя: ") + CurrentMacroName,
      QStringLiteral(" Всего: ") + QString::number(m.length),
      QStringLiteral("   CRC: ") + QString::number(crc),
      QStringLiteral("  Faza: ") + QString::number(m.phaseCount),
      QStringLiteral("Cycles: ") + QString::number(m.cycleCount),
      QStringLiteral("Errors: ") + QString::number(m.errorCount),
  };
}

QStringList hexRows() {
  const CompiledMacroRecord& m = CompiledMacro;
  QStringList rows;
  int offset = 0;
  for (int line = 0; line < m.lineCount; ++line) {
    QString row;
    for (int i = 0; i < m.LineByteCounts[line]; ++i)
      row += HexByte(m.image[offset++]) + u' ';
    rows.append(row);
  }
  return rows;
}

}  // namespace

MacroListing ShowMacroListing(int caretLine) {
  MacroListing listing{infoItems(), hexRows(), {}};
  if (caretLine < 0 || caretLine >= listing.hexRows.size())
    return listing;
  qsizetype start = 0;
  for (int line = 0; line < caretLine; ++line)
    start += listing.hexRows[line].size() + 1;
  listing.highlight = {static_cast<int>(start), static_cast<int>(listing.hexRows[caretLine].size()),
                       kBlack, kLightRed, true};
  return listing;
}

}  // namespace qv
