#include <gtest/gtest.h>
#include <QLocale>

#include "common/clock.h"
#include "common/crc8.h"
#include "common/text.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

uint8_t crcOf(const QByteArray& bytes) {
  return Crc8(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
}

TEST(Crc8, KnownVectors) {
  EXPECT_EQ(crcOf("123456789"), 0x0B);
  EXPECT_EQ(crcOf(QByteArray()), 0xFF);
  EXPECT_EQ(crcOf(QByteArray::fromHex("5A000040")), 0x6E);
}

TEST(Crc8, StepFoldsOneByteAtATime) {
  uint8_t crc = 0xFF;
  for (char c : QByteArray("123456789"))
    Crc8Step(static_cast<uint8_t>(c), crc);
  EXPECT_EQ(crc, 0x0B);
}

TEST(Hex, UpperCaseZeroPaddedLowBits) {
  EXPECT_EQ(HexByte(0x0A), "0A");
  EXPECT_EQ(HexByte(0x1FF), "FF");
  EXPECT_EQ(HexWord(0x4C00), "4C00");
  EXPECT_EQ(HexWord(0xABCDEF), "CDEF");
  EXPECT_EQ(HexWord(0x5), "0005");
}

TEST(TextField, FieldsAreTrimmedAndMissingOnesEmpty) {
  struct Case {
    const char* text;
    int n;
    const char* expected;
  } cases[] = {
      {"100, 100, 100, 100", 1, "100"},
      {"12abc,7", 0, "12abc"},
      {"12abc,7", 2, ""},
      {" \t a b \r\n,x", 0, "a b"},
      {"", 0, ""},
      {",,z", 2, "z"},
      {"a,b", -1, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextField(QString::fromUtf8(c.text), c.n, u','), QString::fromUtf8(c.expected))
        << c.text << " field " << c.n;
  }
}

TEST(TextToInt, LeadingIntegerOrZero) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {{"12abc", 12},
               {"  -1200", -1200},
               {"+7", 7},
               {"abc", 0},
               {"", 0},
               {"- 5", 0},
               {"99999999999", 2147483647},
               {"-99999999999", -2147483647 - 1}};
  for (const Case& c : cases)
    EXPECT_EQ(TextToInt(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(TextToReal, LongestLeadingNumberWithFirstCommaAsPoint) {
  struct Case {
    const char* text;
    double expected;
  } cases[] = {{"0.3C", 0.3}, {"2,5S", 2.5},    {"1,2,3", 1.2},   {"", 0},
               {"abc", 0},    {"-1e3x", -1000}, {"4e", 4},        {".5", 0.5},
               {"+2.", 2},    {"1e999", 0},     {"  7.25", 7.25}, {"-", 0}};
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(TextToReal(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(TextHelpers, CountAndReplaceFirst) {
  EXPECT_EQ(CountChar("a(b(c)", u'('), 2);
  EXPECT_EQ(ReplaceFirst("a,b,c", ",", "."), "a.b,c");
  EXPECT_EQ(ReplaceFirst("abc", "x", "y"), "abc");
  EXPECT_EQ(ReplaceFirst("abc", "", "y"), "abc");
}

class NumberText : public ::testing::Test {
 protected:
  void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(NumberText, PatternsRoundHalfAwayFromZero) {
  QLocale::setDefault(QLocale::c());
  struct Case {
    const char* pattern;
    double value;
    const char* expected;
  } cases[] = {
      {"0.00", 12.125, "12.13"},   {"0.00", 0.125, "0.13"},  {"0.00", -0.125, "-0.13"},
      {"0.00", 4.5, "4.50"},       {"0.00", -0.001, "0.00"}, {"0.00", 123456789.5, "123456789.50"},
      {"#0.00", 0.5, "0.50"},      {"0", 2.5, "3"},          {"0", -0.4, "0"},
      {"0.0", 1.7 * 100, "170.0"}, {"0.0", 9.96, "10.0"},    {"0.00", 1.005, "1.00"},
      {"0.00", 99.995, "100.00"}};
  for (const Case& c : cases) {
    EXPECT_EQ(FormatNumber(c.pattern, c.value), c.expected) << c.pattern << " " << c.value;
  }
}

TEST_F(NumberText, DecimalSeparatorFollowsLocale) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  EXPECT_EQ(FormatNumber("0.00", 4.5), "4,50");
  EXPECT_EQ(FormatNumber("0.00", 1234567.0), "1234567,00");  // no group separator
  EXPECT_EQ(FormatNumber("0", 4.5), "5");
}

TEST(Clock, DaysConvertToDateAndTimeTexts) {
  const double day = DateTimeToDays(QDateTime(QDate(2024, 1, 31), QTime(23, 59, 58)));
  EXPECT_EQ(DateText(day), "20240131");
  EXPECT_EQ(TimeText(day), "23:59:58");
  EXPECT_EQ(DateText(day + 2.0 / 86400), "20240201");
  EXPECT_DOUBLE_EQ(DateTimeToDays(QDateTime(QDate(1899, 12, 30), QTime(12, 0))), 0.5);
  // Differences wrap at 24 hours.
  EXPECT_EQ(TimeText((25 * 3600 + 5) / 86400.0), "01:00:05");
}

TEST(Clock, OverrideAndRestore) {
  TestHost().now = 100.25;
  EXPECT_DOUBLE_EQ(Now(), 100.25);
  TestHost().now.reset();
  EXPECT_GT(Now(), 45000);
}

}  // namespace
