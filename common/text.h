#pragma once

#include <QString>
#include <cstdint>

namespace qv {

// The text helpers never fail loudly: they return 0 or an empty text.

// The text without blanks and control characters at either end.
QString TrimmedText(const QString& text);
// Field n (from 0) of text split at every delimiter, trimmed of blanks and
// control characters at both ends; empty when there is no such field.
QString TextField(const QString& text, int n, QChar delimiter);
// Leading decimal integer (blanks skipped, optional sign); 0 when none.
int TextToInt(const QString& text);
// Longest leading decimal number, the first ',' read as a point; 0 when none.
// Text after the number is ignored, so "0.3C" reads as 0.3.
double TextToReal(const QString& text);
int CountChar(const QString& text, QChar ch);
QString ReplaceFirst(const QString& text, const QString& find, const QString& replacement);

QString HexByte(unsigned value);
QString HexWord(unsigned value);

// Fixed-point text with the given number of decimals, rounded half away from
// zero on the exact binary value, with the locale's decimal separator.
QString FormatFixed(double value, int decimals);
// The number patterns "0", "0.0", "0.00" and "#0.00".
QString FormatNumber(const QString& pattern, double value);

}  // namespace qv
