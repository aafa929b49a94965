#include "macro/file_name.h"

#include "common/text.h"

namespace qv {

namespace {

// Control characters of every kind (also DEL and the C1 range a UTF-8 or
// UTF-16 file can carry) besides the characters file systems refuse.
bool isForbiddenInFileName(QChar ch) {
  return ch.category() == QChar::Other_Control || QStringLiteral("\\/:*?\"<>|").contains(ch);
}

}  // namespace

QString MacroFileBaseName(const QString& macroName) {
  QString name = TrimmedText(TrimmedText(macroName).left(kMacroFileNameLength));
  for (QChar& ch : name) {
    if (isForbiddenInFileName(ch))
      ch = u'_';
  }
  return name.isEmpty() ? QStringLiteral("UNDEF") : name;
}

}  // namespace qv
