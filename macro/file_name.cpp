#include "macro/file_name.h"

#include "common/text.h"

namespace {

bool isForbiddenInFileName(QChar ch) {
  return ch.unicode() < u' ' || QStringLiteral("\\/:*?\"<>|").contains(ch);
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
