#pragma once

#include <QString>
#include <QStringList>
#include <ostream>

#include "common/text.h"
#include "macro/byte_code.h"
#include "macro/compiler.h"
#include "macro/formatter.h"
#include "macro/templates.h"
#include "tests/support/printers.h"

// Bytes as upper-case hex separated by blanks.
inline QString HexText(const uint8_t* bytes, int count) {
  QStringList parts;
  for (int i = 0; i < count; ++i)
    parts.append(qv::HexByte(bytes[i]));
  return parts.join(u' ');
}

// The bytes the statements of a text produce: compiled with a closing line
// whose code byte the CRC takes over, so nothing of the text is sealed away.
inline QString StatementBytes(const QString& text) {
  qv::CompileMacro(text + QStringLiteral("\nEND_MACRO"));
  return HexText(qv::CompiledMacro.image + 3, qv::CompiledMacro.length - 4);
}

inline QString ImageText() {
  return HexText(qv::CompiledMacro.image, qv::CompiledMacro.length);
}

inline QString TemplateText(qv::MacroTemplateKind kind) {
  return QString::fromLatin1(MacroTemplateOf(kind).text);
}

// The lines of a formatted text with their padding removed.
inline QStringList TrimmedLines(const QString& text) {
  QStringList lines = text.split(u'\n');
  if (!lines.isEmpty() && lines.back().isEmpty())
    lines.removeLast();
  for (QString& line : lines) {
    while (line.endsWith(u' '))
      line.chop(1);
  }
  return lines;
}
