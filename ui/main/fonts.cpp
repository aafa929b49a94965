#include "ui/main/fonts.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions() {
  for (const FontSubstitution& s : kFontSubstitutions) {
    // Liberation Sans Narrow is not in every font package: fall back to the
    // full-width face rather than to whatever the system picks.
    QStringList faces;
    faces << QString::fromLatin1(s.installed) << QStringLiteral("Liberation Sans")
          << QStringLiteral("DejaVu Sans");
    QFont::insertSubstitutions(QString::fromLatin1(s.family), faces);
  }
}
