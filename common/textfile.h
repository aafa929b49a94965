#pragma once

#include <QByteArray>
#include <QString>

namespace qv {

// Text files are Windows-1251 with CR LF line ends; the conversion happens
// here, at the file boundary, and nowhere else.

// Line ends of any kind (LF, CR, CR LF) become CR LF.
QString WithCrLf(const QString& text);

// Replaces the file whole: written to a temporary file in the same folder and
// renamed over the target, so a failed write or a crash leaves the previous
// file, and no temporary file. False, without a message, when the file cannot
// be written.
[[nodiscard]] bool WriteTextFile(const QString& path, const QString& text);
[[nodiscard]] bool WriteFileSafely(const QString& path, const QByteArray& bytes);

// The file's text decoded from Windows-1251 with line ends turned into LF;
// empty with *ok false when it cannot be read.
QString ReadTextFile(const QString& path, bool* ok = nullptr);

// Opens (or creates), appends, closes: nothing stays buffered between calls.
// False when the file cannot be opened or fully written; then nothing of the
// bytes stays in the file. Lines (bytes ending in a line feed) always start
// on a line of their own, also after a line that a crash cut short.
[[nodiscard]] bool AppendToFile(const QString& path, const QByteArray& bytes);

}  // namespace qv
