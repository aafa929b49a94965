#include "common/textfile.h"

#include <QFile>
#include <QSaveFile>

#include "common/cp1251.h"

QString WithCrLf(const QString& text) {
  QString result;
  result.reserve(text.size() + text.size() / 16);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch == u'\r') {
      result += QStringLiteral("\r\n");
      if (i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
    } else if (ch == u'\n') {
      result += QStringLiteral("\r\n");
    } else {
      result += ch;
    }
  }
  return result;
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool WriteTextFile(const QString& path, const QString& text) {
  return WriteFileSafely(path, ToCp1251(WithCrLf(text)));
}

QString ReadTextFile(const QString& path, bool* ok) {
  QFile file(path);
  const bool opened = file.open(QIODevice::ReadOnly);
  if (ok)
    *ok = opened;
  if (!opened)
    return {};
  QString text = FromCp1251(file.readAll());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

bool AppendToFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite | QIODevice::Append))
    return false;
  const bool written = file.write(bytes) == bytes.size();
  file.close();
  return written;
}
