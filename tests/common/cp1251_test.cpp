#include <gtest/gtest.h>
#include <iconv.h>

#include "common/cp1251.h"

using namespace qv;

namespace {

TEST(Cp1251, EveryByteRoundTrips) {
  QByteArray all(256, 0);
  for (int i = 0; i < 256; ++i)
    all[i] = static_cast<char>(i);
  EXPECT_EQ(ToCp1251(FromCp1251(all)), all);
}

// The C library's converter as an independent reference: every byte it
// knows must mean the same character here.
TEST(Cp1251, EveryByteAsTheSystemConverterReadsIt) {
  iconv_t converter = iconv_open("UTF-16LE", "WINDOWS-1251");
  ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1)) << "no Windows-1251 in iconv";
  int known = 0;
  for (int byte = 0; byte < 256; ++byte) {
    char in = static_cast<char>(byte);
    char16_t out[2] = {};
    char* inPointer = &in;
    char* outPointer = reinterpret_cast<char*>(out);
    size_t inLeft = 1;
    size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
      continue;  // undefined in the code page (0x98)
    ++known;
    EXPECT_EQ(Cp1251ToChar(static_cast<uint8_t>(byte)).unicode(), out[0]) << "byte " << byte;
  }
  iconv_close(converter);
  EXPECT_GE(known, 255);
}

TEST(Cp1251, CyrillicRange) {
  const QString alphabet =
      QString::fromUtf8("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюя");
  const QByteArray bytes = ToCp1251(alphabet);
  ASSERT_EQ(bytes.size(), 64);
  for (int i = 0; i < 64; ++i)
    EXPECT_EQ(static_cast<uint8_t>(bytes[i]), 0xC0 + i);
  EXPECT_EQ(ToCp1251(QString::fromUtf8("Ёё№")), QByteArray("\xA8\xB8\xB9"));
  EXPECT_EQ(FromCp1251("\xCF\xF0\xE8\xE2\xE5\xF2"), QString::fromUtf8("Привет"));
}

// Exactly the 256 characters of the code page have a byte, and it is theirs.
TEST(Cp1251, OnlyTheCodePagesCharactersHaveAByte) {
  int mapped = 0;
  for (int code = 0; code <= 0xFFFF; ++code) {
    const QChar ch(static_cast<char16_t>(code));
    const int byte = CharToCp1251(ch);
    if (byte < 0)
      continue;
    ++mapped;
    ASSERT_LT(byte, 256) << "U+" << std::hex << code;
    EXPECT_EQ(Cp1251ToChar(static_cast<uint8_t>(byte)), ch) << "U+" << std::hex << code;
  }
  EXPECT_EQ(mapped, 256);
}

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(ToCp1251(QString::fromUtf8("a中b😀")), QByteArray("a?b??"));
  EXPECT_EQ(CharToCp1251(QChar(0x4E2D)), -1);
}

}  // namespace
