#pragma once

#include <QByteArray>
#include <QString>

namespace qv {

// Every text the program stores is single-byte Windows-1251; these convert at
// the file and wire boundary.
QChar Cp1251ToChar(uint8_t byte);
// The Windows-1251 byte of a character, or -1 when the code page has none.
int CharToCp1251(QChar ch);

QString FromCp1251(const QByteArray& bytes);
// Characters without a Windows-1251 byte become '?'.
QByteArray ToCp1251(const QString& text);

}  // namespace qv
