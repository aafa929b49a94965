#include "common/cp1251.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

// 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order. 0x98 has no character
// in the code page and is kept as the C1 control U+0098 so bytes round-trip.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

struct CharByte {
  char16_t ch;
  uint8_t byte;
};

// kUpperHalf sorted by character, for the way back in a few steps.
constexpr std::array<CharByte, 64> kUpperHalfByChar = [] {
  std::array<CharByte, 64> table{};
  for (size_t i = 0; i < table.size(); ++i)
    table[i] = {kUpperHalf[i], static_cast<uint8_t>(0x80 + i)};
  std::sort(table.begin(), table.end(), [](CharByte a, CharByte b) { return a.ch < b.ch; });
  return table;
}();

}  // namespace

QChar Cp1251ToChar(uint8_t byte) {
  if (byte < 0x80)
    return QChar(byte);
  if (byte >= 0xC0)
    return QChar(static_cast<char16_t>(0x0410 + (byte - 0xC0)));
  return QChar(kUpperHalf[byte - 0x80]);
}

int CharToCp1251(QChar ch) {
  const char16_t u = ch.unicode();
  if (u < 0x80)
    return u;
  if (u >= 0x0410 && u <= 0x044F)
    return 0xC0 + (u - 0x0410);
  const auto found =
      std::lower_bound(kUpperHalfByChar.begin(), kUpperHalfByChar.end(), u,
                       [](CharByte entry, char16_t code) { return entry.ch < code; });
  return found != kUpperHalfByChar.end() && found->ch == u ? found->byte : -1;
}

QString FromCp1251(const QByteArray& bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar* out = text.data();
  for (qsizetype i = 0; i < bytes.size(); ++i)
    out[i] = Cp1251ToChar(static_cast<uint8_t>(bytes[i]));
  return text;
}

QByteArray ToCp1251(const QString& text) {
  QByteArray bytes(text.size(), Qt::Uninitialized);
  char* out = bytes.data();
  for (qsizetype i = 0; i < text.size(); ++i) {
    const int b = CharToCp1251(text[i]);
    out[i] = static_cast<char>(b < 0 ? '?' : b);
  }
  return bytes;
}

}  // namespace qv
