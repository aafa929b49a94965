#include <gtest/gtest.h>

#include "common/cp1251.h"

namespace {

TEST(Cp1251, EveryByteRoundTrips) {
  QByteArray all(256, 0);
  for (int i = 0; i < 256; ++i)
    all[i] = static_cast<char>(i);
  EXPECT_EQ(ToCp1251(FromCp1251(all)), all);
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

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(ToCp1251(QString::fromUtf8("a中b😀")), QByteArray("a?b??"));
  EXPECT_EQ(CharToCp1251(QChar(0x4E2D)), -1);
}

}  // namespace
