#pragma once

#include <QByteArray>
#include <QString>
#include <ostream>

// Readable failure messages for Qt's text types.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << "hex " << bytes.toHex(' ').toStdString();
}

#include <QPoint>
#include <QSize>

inline std::ostream& operator<<(std::ostream& os, const QPoint& p) {
  return os << '(' << p.x() << ", " << p.y() << ')';
}
inline std::ostream& operator<<(std::ostream& os, const QSize& s) {
  return os << s.width() << " x " << s.height();
}
