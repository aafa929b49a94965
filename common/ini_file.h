#pragma once

#include <QString>
#include <QStringList>

namespace qv {

// A sections-and-keys text file, edited in place: lines the program does not
// know (other keys and sections, comments) stay as they are. Section and key
// names match without regard to letter case; the first occurrence wins.
class IniFile {
 public:
  // Reads the file as Windows-1251; a missing file gives an empty one.
  bool load(const QString& path);
  // Replaces the file whole (temporary file, then rename).
  [[nodiscard]] bool save(const QString& path) const;
  // The file's bytes: what load() reads and save() writes.
  void parse(const QByteArray& bytes);
  QByteArray bytes() const;

  bool contains(const QString& section, const QString& key) const;
  // The section's keys in file order, repeated ones again; no empty key.
  QStringList keys(const QString& section) const;
  QString readString(const QString& section, const QString& key, const QString& fallback) const;
  // Decimal (or $/0x hexadecimal) text; anything else reads as the fallback.
  int readInteger(const QString& section, const QString& key, int fallback) const;
  bool readBool(const QString& section, const QString& key, bool fallback) const;

  void writeString(const QString& section, const QString& key, const QString& value);
  void writeInteger(const QString& section, const QString& key, int value);
  void writeBool(const QString& section, const QString& key, bool value);

  const QStringList& lines() const { return lines_; }

 private:
  struct Range {
    int header = -1;  // index of the "[section]" line, -1 when missing
    int end = 0;      // one past the section's last line
  };
  Range findSection(const QString& section) const;
  int findKey(const Range& range, const QString& key) const;

  QStringList lines_;
};

}  // namespace qv
