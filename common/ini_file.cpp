#include "common/ini_file.h"

#include <QFile>
#include <climits>

#include "common/cp1251.h"
#include "common/textfile.h"

namespace qv {

namespace {

// Views, not copies: every lookup reads these of many lines.
bool isSectionLine(QStringView line, QStringView* name = nullptr) {
  const QStringView t = line.trimmed();
  if (!t.startsWith(u'['))
    return false;
  const qsizetype close = t.indexOf(u']');
  if (close < 0)
    return false;
  if (name)
    *name = t.mid(1, close - 1).trimmed();
  return true;
}

// The key of a "key=value" line, empty for other lines.
QStringView keyOf(QStringView line) {
  const qsizetype eq = line.indexOf(u'=');
  return eq < 0 ? QStringView() : line.left(eq).trimmed();
}

bool parseInteger(QString text, int* value) {
  text = text.trimmed();
  bool ok = false;
  qlonglong v = 0;
  if (text.startsWith(u'$')) {
    v = text.mid(1).toLongLong(&ok, 16);
  } else if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    v = text.mid(2).toLongLong(&ok, 16);
  } else {
    v = text.toLongLong(&ok, 10);
  }
  if (!ok || v < INT_MIN || v > INT_MAX)
    return false;
  *value = static_cast<int>(v);
  return true;
}

}  // namespace

bool IniFile::load(const QString& path) {
  lines_.clear();
  QFile file(path);
  if (!file.exists())
    return true;
  if (!file.open(QIODevice::ReadOnly))
    return false;
  parse(file.readAll());
  return true;
}

bool IniFile::save(const QString& path) const {
  return WriteFileSafely(path, bytes());
}

void IniFile::parse(const QByteArray& bytes) {
  QString text = FromCp1251(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines_ = text.split(u'\n');
  if (!lines_.isEmpty() && lines_.last().isEmpty())
    lines_.removeLast();
}

QByteArray IniFile::bytes() const {
  QString text;
  for (const QString& line : lines_) {
    text += line;
    text += QLatin1String("\r\n");
  }
  return ToCp1251(text);
}

IniFile::Range IniFile::findSection(const QString& section) const {
  Range range;
  for (int i = 0; i < lines_.size(); ++i) {
    QStringView name;
    if (!isSectionLine(lines_[i], &name))
      continue;
    if (range.header >= 0) {
      range.end = i;
      return range;
    }
    if (name.compare(section, Qt::CaseInsensitive) == 0)
      range.header = i;
  }
  range.end = static_cast<int>(lines_.size());
  return range;
}

int IniFile::findKey(const Range& range, const QString& key) const {
  if (range.header < 0)
    return -1;
  for (int i = range.header + 1; i < range.end; ++i) {
    if (keyOf(lines_[i]).compare(key, Qt::CaseInsensitive) == 0)
      return i;
  }
  return -1;
}

QStringList IniFile::keys(const QString& section) const {
  const Range range = findSection(section);
  QStringList keys;
  if (range.header < 0)
    return keys;
  for (int i = range.header + 1; i < range.end; ++i) {
    const QStringView key = keyOf(lines_[i]);
    if (!key.isEmpty())
      keys << key.toString();
  }
  return keys;
}

bool IniFile::contains(const QString& section, const QString& key) const {
  return findKey(findSection(section), key) >= 0;
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& fallback) const {
  const int at = findKey(findSection(section), key);
  if (at < 0)
    return fallback;
  const QString& line = lines_[at];
  return line.mid(line.indexOf(u'=') + 1).trimmed();
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
  int value = 0;
  return parseInteger(readString(section, key, QString()), &value) ? value : fallback;
}

bool IniFile::readBool(const QString& section, const QString& key, bool fallback) const {
  return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
  const QString line = key + QLatin1Char('=') + value;
  Range range = findSection(section);
  if (range.header < 0) {
    lines_ << QLatin1Char('[') + section + QLatin1Char(']') << line;
    return;
  }
  const int at = findKey(range, key);
  if (at >= 0) {
    lines_[at] = line;
    return;
  }
  // After the section's last non-blank line, before the blank lines that
  // separate it from the next one.
  int insertAt = range.end;
  while (insertAt > range.header + 1 && lines_[insertAt - 1].trimmed().isEmpty())
    --insertAt;
  lines_.insert(insertAt, line);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
  writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
  writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace qv
