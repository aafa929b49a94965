#include "common/text.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <string>

namespace qv {

namespace {

bool isDigit(QChar ch) {
  return ch >= u'0' && ch <= u'9';
}

// Rounds the decimal digits of an exact expansion ("123.4567") at the given
// number of decimals, half away from zero.
std::string roundDecimalText(std::string digits, int decimals) {
  const size_t point = digits.find('.');
  const size_t keep = point + 1 + static_cast<size_t>(decimals);
  const bool roundUp = keep < digits.size() && digits[keep] >= '5';
  digits.resize(decimals > 0 ? keep : point);
  if (roundUp) {
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0; --i) {
      if (digits[i] == '.')
        continue;
      if (digits[i] == '9') {
        digits[i] = '0';
      } else {
        ++digits[i];
        break;
      }
    }
    if (i < 0)
      digits.insert(digits.begin(), '1');
  }
  return digits;
}

}  // namespace

QString TrimmedText(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin].unicode() <= u' ')
    ++begin;
  while (end > begin && text[end - 1].unicode() <= u' ')
    --end;
  return text.mid(begin, end - begin);
}

QString TextField(const QString& text, int n, QChar delimiter) {
  if (n < 0)
    return {};
  qsizetype start = 0;
  for (int field = 0; field < n; ++field) {
    const qsizetype next = text.indexOf(delimiter, start);
    if (next < 0)
      return {};
    start = next + 1;
  }
  qsizetype end = text.indexOf(delimiter, start);
  if (end < 0)
    end = text.size();
  return TrimmedText(text.mid(start, end - start));
}

int TextToInt(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && text[i] == u' ')
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    value = value * 10 + (text[i].unicode() - u'0');
    if (value > 2147483648LL)
      value = 2147483648LL;  // saturate, never overflow
  }
  if (negative)
    value = -value;
  if (value > 2147483647LL)
    value = 2147483647LL;
  return static_cast<int>(value);
}

double TextToReal(const QString& text) {
  if (text.isEmpty())
    return 0;
  const QString t = ReplaceFirst(text, QStringLiteral(","), QStringLiteral("."));
  qsizetype i = 0;
  while (i < t.size() && t[i] == u' ')
    ++i;
  const qsizetype begin = i;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
    ++i;
  qsizetype digits = 0;
  while (i < t.size() && isDigit(t[i]))
    ++i, ++digits;
  if (i < t.size() && t[i] == u'.') {
    ++i;
    while (i < t.size() && isDigit(t[i]))
      ++i, ++digits;
  }
  if (digits == 0)
    return 0;
  qsizetype end = i;
  if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
    qsizetype j = i + 1;
    if (j < t.size() && (t[j] == u'+' || t[j] == u'-'))
      ++j;
    if (j < t.size() && isDigit(t[j])) {
      while (j < t.size() && isDigit(t[j]))
        ++j;
      end = j;
    }
  }
  const std::string number = t.mid(begin, end - begin).toStdString();
  const char* first = number.c_str();
  if (*first == '+')
    ++first;  // from_chars takes no plus sign
  double value = 0;
  const auto parsed = std::from_chars(first, number.c_str() + number.size(), value);
  if (parsed.ec != std::errc())
    return 0;
  return std::isfinite(value) ? value : 0;
}

int CountChar(const QString& text, QChar ch) {
  return static_cast<int>(text.count(ch));
}

QString ReplaceFirst(const QString& text, const QString& find, const QString& replacement) {
  const qsizetype at = find.isEmpty() ? -1 : text.indexOf(find);
  if (at < 0)
    return text;
  QString result = text;
  result.replace(at, find.size(), replacement);
  return result;
}

// Every exchange logs its bytes this way: no formatting machinery per byte.
QString HexByte(unsigned value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const char text[2] = {kDigits[(value >> 4) & 0xFu], kDigits[value & 0xFu]};
  return QString::fromLatin1(text, 2);
}

QString HexWord(unsigned value) {
  return QStringLiteral("%1").arg(value & 0xFFFFu, 4, 16, QLatin1Char('0')).toUpper();
}

QString FormatFixed(double value, int decimals) {
  if (!std::isfinite(value))
    return QString::number(value);
  // The exact binary expansion, independent of the C locale; 40 decimals are
  // enough to decide rounding at any number of decimals we use.
  char buffer[400];
  const auto result0 =
      std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed, 40);
  std::string digits = roundDecimalText(std::string(buffer, result0.ptr), decimals);
  const bool zero = digits.find_first_not_of("0.") == std::string::npos;
  QString result = QString::fromStdString(digits);
  if (decimals > 0)
    result.replace(QLatin1Char('.'), QLocale().decimalPoint());
  if (value < 0 && !zero)
    result.prepend(QLatin1Char('-'));
  return result;
}

QString FormatNumber(const QString& pattern, double value) {
  const qsizetype point = pattern.indexOf(u'.');
  const int decimals = point < 0 ? 0 : static_cast<int>(pattern.size() - point - 1);
  return FormatFixed(value, decimals);
}

}  // namespace qv
