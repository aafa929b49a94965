#include <gtest/gtest.h>

#include "common/crc8.h"
#include "common/settings_record.h"
#include "macro/command_table.h"
#include "tests/macro/macro_test_support.h"

using namespace qv;

namespace {

const QString kLine0Count = QStringLiteral("Ошибка в строке: 0. Неверное количество операндов.");
const QString kLine0Unknown = QStringLiteral("Ошибка в строке: 0. Название команды не определено.");
const QString kLine0Syntax = QStringLiteral("Ошибка в строке: 0. Неверный синтаксис.");

TEST(MacroCommandTable, EntriesReadFromTheirTexts) {
  EXPECT_EQ(MacroCommandTable[0].code, 1);
  EXPECT_EQ(MacroCommandTable[0].pattern, "MACRO(#S)");
  EXPECT_EQ(MacroCommandTable[20].code, 62);
  EXPECT_EQ(MacroCommandTable[20].pattern, "STATIC_V(#I, #F, #I, #F)");
  EXPECT_EQ(MacroCommandTable[34].code, 101);
  EXPECT_EQ(MacroOperandCount(20), 4);
  EXPECT_EQ(MacroOperandKind(20, 1), OperandKind::F);
  EXPECT_EQ(MacroOperandKind(20, 2), OperandKind::I);
  EXPECT_EQ(MacroOperandKind(12, 0), OperandKind::L);
  EXPECT_EQ(MacroOperandCount(1), 0);
}

struct EncodingCase {
  const char* operand;
  OperandKind kind;
  const char* bytes;
};

TEST(EncodeOperand, KindsAndEdgeValues) {
  const EncodingCase cases[] = {
      {"2.3", OperandKind::F, "E5 00"},   // the product falls just below 230
      {"4.1", OperandKind::F, "99 01"},   // 409
      {"0.9", OperandKind::F, "5A 00"},   // 90
      {"4.2S", OperandKind::F, "A4 81"},  // 420 and the relative bit
      {"0.3C", OperandKind::F, "1E 80"},
      {"0.1A", OperandKind::F, "0A 00"},  // A marks nothing
      {"-1", OperandKind::F, "9C FF"},
      {"65535", OperandKind::F, "9C FF"},
      {"400", OperandKind::F, "40 9C"},    // bit 15 by itself
      {"1,5", OperandKind::F, "96 00"},    // the comma read as a point
      {"1E307", OperandKind::F, "00 00"},  // the product overflows a double
      {"X", OperandKind::F, "00 00"},
      {"65535", OperandKind::L, "FF FF"},
      {"70000", OperandKind::L, "70 11"},
      {"-1", OperandKind::L, "FF FF"},
      {"2000", OperandKind::L, "D0 07"},
      {"65535", OperandKind::I, "FF"},
      {"-0.5", OperandKind::I, "FF"},  // floor, not truncation
      {"1E300", OperandKind::I, "00"},
      {"PB0", OperandKind::S, "50 42 30 00"},
      {"ТЕСТ", OperandKind::S, "D2 C5 D1 D2 00"},
      {"", OperandKind::S, "00"},
  };
  for (const EncodingCase& c : cases) {
    const QByteArray bytes = EncodeOperand(QString::fromUtf8(c.operand), c.kind);
    EXPECT_EQ(HexText(reinterpret_cast<const uint8_t*>(bytes.constData()),
                      static_cast<int>(bytes.size())),
              c.bytes)
        << c.operand << " as " << static_cast<char>(c.kind);
  }
}

struct StatementCase {
  const char* text;
  const char* bytes;
};

TEST(CompileMacro, StatementsToBytes) {
  const StatementCase cases[] = {
      {"CONSTANT_I=0.3C", "3C 1E 80"},
      {"CONSTANT_I=INPUT", "3C 9C FF"},
      {"CAPACITY=INPUT", "17 FF FF"},
      {"CYCLE(INPUT)", "06 FF"},
      {"IF(I<0.1A)", "54 0A 00"},
      {"CAPACITY=2000", "17 D0 07"},
      {"SERIES=6", "16 06"},
      {"AKK_TYPE=Pb", "15 01"},
      {"AKK_TYPE=NiCd", "15 02"},
      {"AKK_TYPE=NiMh", "15 03"},
      {"AKK_TYPE=LiPo", "15 04"},
      {"AKK_TYPE=LiIon", "15 05"},
      {"AKK_TYPE=LiS", "15 06"},
      {"AKK_TYPE=LiFe", "15 07"},
      {"MUSIC(START)", "64 00"},
      {"MUSIC(STOP)", "64 01"},
      {"MUSIC(CLICK)", "64 02"},
      {"MUSIC(FLAME)", "64 03"},
      {"MUSIC(ERROR)", "64 04"},
      {"LIGHT(1)", "65 01"},
      {"TRICKLE(0.1C, 2.3S, 2.5S)", "3F 0A 80 E5 80 FA 80"},
      {"STATIC_V(1, 2.5, 3, 4.2S)", "3E 01 FA 00 03 A4 81"},
      {"DESULF(2, 0.5C, 4, 2.4S)", "40 02 32 80 04 F0 80"},
      {"IF(V<0.9S)STOP_FAZE", "52 5A 80 2A"},
      {"IF(V>2.4S)STOP_FAZE", "53 F0 80 2A"},
      {"IF(DELTA_PEAK=0.2S)STOP_FAZE", "59 14 80 2A"},
      {"IF(T>45)PAUSE_FAZE(10)", "51 2D 2B 0A 00"},
      {"IF(T<5)CONTINUE_FAZE", "50 05 2C"},
      // The subject as written picks the entry: t is time, Tc in any case
      // the other temperature, T the battery's.
      {"IF(t>120)STOP_FAZE", "58 78 00 2A"},
      {"IF(t<300)", "57 2C 01"},
      {"IF(Tc>50)", "55 32"},
      {"IF(TC<50)", "56 32"},
      {"if(tc>50)", "55 32"},
      {"if(T > 45)", "51 2D"},
      {"constant_i=0.3c", "3C 1E 80"},
      {"CONSTANT_I(5)", "3C F4 01"},
      {"FAZE(5)", "08"},
      {"CYCLE", "06"},  // no operand text: the code alone
      {"END", "02"},
      {"S=5", "14 05"},
      {"PAUSE_MACRO(INPUT)", "29 00 00"},  // its line contains MACRO: no substitution
      {"STOP_MACRO", "28"},
      {"FAZE;STOP_FAZE", "08"},  // after the ";" nothing is compiled
      {"MACRO(Тест)", "01 D2 C5 D1 D2 00"},
      {"/* FAZE\nFAZE */ END_FAZE // FAZE", "09"},
  };
  for (const StatementCase& c : cases) {
    EXPECT_EQ(StatementBytes(QString::fromUtf8(c.text)), c.bytes) << c.text;
    EXPECT_TRUE(MacroErrorList.isEmpty())
        << c.text << ": " << MacroErrorList.join(' ').toStdString();
  }
}

struct ErrorCase {
  const char* text;
  const char* bytes;
  QStringList messages;
};

TEST(CompileMacro, FaultyStatementsReportedAndSkipped) {
  const ErrorCase cases[] = {
      {"CONSTANT_I=1,5C", "", {kLine0Count}},
      {"FAZE(1,2)", "", {kLine0Count}},
      {"STATIC_V(1, 2, 3)", "", {kLine0Count}},
      {"STOP_FAZE STOP_MACRO", "", {kLine0Unknown}},
      {"XYZ", "", {kLine0Unknown}},
      {"=5", "", {kLine0Unknown}},  // empty key
      {"IF(Q>1)", "", {kLine0Unknown}},
      {"MACRO(Abc)X", "01 41 42 43 00", {kLine0Syntax, kLine0Unknown}},
      {"MUSIC(1)STOP_FAZE", "64 01 2A", {kLine0Syntax}},
      {"FAZE\n\nXYZ\nFAZE", "08 08", {"Ошибка в строке: 2. Название команды не определено."}},
      {"/* one\ntwo */\nXYZ", "", {"Ошибка в строке: 2. Название команды не определено."}},
  };
  for (const ErrorCase& c : cases) {
    EXPECT_EQ(StatementBytes(QString::fromUtf8(c.text)), c.bytes) << c.text;
    EXPECT_EQ(MacroErrorList, c.messages) << c.text;
    EXPECT_EQ(CompiledMacro.errorCount, c.messages.size()) << c.text;
  }
}

TEST(CompileMacro, MacroStatementNamesTheCurrentMacro) {
  CurrentMacroName = "other.qvml";
  CompileMacro("MACRO(Abc)X");
  EXPECT_EQ(CurrentMacroName, "ABC.QVML");
  CompileMacro("FAZE");
  EXPECT_EQ(CurrentMacroName, "ABC.QVML");  // only MACRO( ) sets it
  // The name that saving would give the file, so the editor finds it again.
  CompileMacro("MACRO(ABCDEFGHIJKLMNOPQRST)");
  EXPECT_EQ(CurrentMacroName, "ABCDEFGHIJKLMNOP.QVML");
  CompileMacro("MACRO(../x)");
  EXPECT_EQ(CurrentMacroName, ".._X.QVML");
  EXPECT_EQ(HexText(CompiledMacro.image + 4, 4), "2E 2E 2F 58");  // the image keeps the name
}

TEST(CompileMacro, SealedImages) {
  CompileMacro("");
  EXPECT_EQ(ImageText(), "03 00 D4");
  EXPECT_TRUE(MacroErrorList.isEmpty());
  EXPECT_EQ(CompiledMacro.lineCount, 1);
  CompileMacro("MACRO(Pb0);\nEND_MACRO;");
  EXPECT_EQ(ImageText(), "09 00 00 01 50 42 30 00 F2");
  EXPECT_EQ(CompiledMacro.lineCount, 2);
  EXPECT_EQ(CompiledMacro.LineByteCounts[0], 8);
  EXPECT_EQ(CompiledMacro.LineByteCounts[1], 1);
}

TEST(CompileMacro, CountersAndChargeSectionOffset) {
  CompileMacro("FAZE\nCYCLE(2)\nCHARGE_SECTION\nFAZE\nCHARGE_SECTION\nFAZE\nEND_MACRO");
  EXPECT_EQ(CompiledMacro.phaseCount, 3);
  EXPECT_EQ(CompiledMacro.cycleCount, 1);
  EXPECT_EQ(CompiledMacro.image[1], 9);  // after the last CHARGE_SECTION code at offset 8
}

TEST(CompileMacro, EveryTemplateCompilesClean) {
  for (int t = 0; t < kMacroTemplateCount; ++t) {
    const QString text = QString::fromLatin1(MacroTemplates[t].text);
    CompileMacro(FormatMacroText(text).text);
    EXPECT_EQ(CompiledMacro.errorCount, 0) << MacroTemplates[t].fileName;
    EXPECT_TRUE(MacroErrorList.isEmpty()) << MacroErrorList.join(' ').toStdString();
    EXPECT_EQ(CompiledMacro.image[0], CompiledMacro.length);
    EXPECT_EQ(CompiledMacro.image[CompiledMacro.length - 1],
              Crc8(CompiledMacro.image, CompiledMacro.length - 1u));
  }
}

TEST(CompileMacro, PbTemplateImage) {
  CompileMacro(FormatMacroText(TemplateText(MacroTemplateKind::Pb)).text);
  EXPECT_EQ(CompiledMacro.image[20], 0x04);  // CHARGE_SECTION
  EXPECT_EQ(CompiledMacro.image[1], 21);
  EXPECT_TRUE(ImageText().contains("3F 0A 80 E5 80 FA 80 58 78 00 2A"));
  EXPECT_EQ(CurrentMacroName, "PB0.QVML");
}

TEST(StripComments, KeepsLineBreaks) {
  EXPECT_EQ(StripComments("a/* x\ny */b\nc// d\ne"), "a\nb\nc\ne");
  EXPECT_EQ(StripComments("a/*/b"), "ab");
  // An unopened "*/" drops everything after it, line breaks apart, until a
  // "/*" brings the depth back.
  EXPECT_EQ(StripComments("a*/b\nc/*d"), "a*/\n/*d");
  EXPECT_EQ(StripComments("a\r\nb//c\r\nd"), "a\r\nb\r\nd");
}

// Consistent with what was emitted: the header and the line counts add up to
// the length, and the CRC seals exactly those bytes.
void expectConsistentImage() {
  int sum = 0;
  for (int line = 0; line < CompiledMacro.lineCount; ++line)
    sum += CompiledMacro.LineByteCounts[line];
  EXPECT_EQ(sum, CompiledMacro.length);
  EXPECT_EQ(CompiledMacro.image[0], CompiledMacro.length);
  EXPECT_EQ(CompiledMacro.image[CompiledMacro.length - 1],
            Crc8(CompiledMacro.image, CompiledMacro.length - 1u));
}

TEST(CompileMacroLimits, ImageOverflowRefusedAtItsLine) {
  // 84 statements of 3 bytes fill 255 bytes exactly; the 85th does not fit.
  QStringList lines(85, QStringLiteral("CONSTANT_I=1;"));
  lines.append(QStringLiteral("FAZE;"));
  CompileMacro(lines.join(u'\n'));
  EXPECT_EQ(CompiledMacro.length, 255);
  EXPECT_EQ(MacroErrorList, QStringList{"Ошибка в строке: 84. Макрос длиннее 255 байт."});
  EXPECT_EQ(CompiledMacro.lineCount, 84);
  EXPECT_EQ(CompiledMacro.phaseCount, 0);  // nothing compiled after the refusal
  expectConsistentImage();
}

TEST(CompileMacroLimits, LongMacroNameRefused) {
  CurrentMacroName = "kept.qvml";
  CompileMacro("MACRO(" + QString(300, u'A') + ")");
  EXPECT_EQ(ImageText(), "03 00 D4");
  EXPECT_EQ(MacroErrorList, QStringList{"Ошибка в строке: 0. Макрос длиннее 255 байт."});
  EXPECT_EQ(CurrentMacroName, "kept.qvml");
}

TEST(CompileMacroLimits, LinesPast256Refused) {
  QStringList lines(256, QString());
  lines[255] = "FAZE";
  lines.append("FAZE");
  CompileMacro(lines.join(u'\n'));
  EXPECT_EQ(MacroErrorList, QStringList{"Ошибка в строке: 256. Текст длиннее 256 строк."});
  EXPECT_EQ(CompiledMacro.LineByteCounts[255], 1);
  EXPECT_EQ(CompiledMacro.lineCount, 256);
  expectConsistentImage();
  // Trailing empty lines or comments are no statements.
  lines.back() = "// end";
  lines.append(QString());
  CompileMacro(lines.join(u'\n'));
  EXPECT_TRUE(MacroErrorList.isEmpty());
}

TEST(CompileMacroLimits, ErrorCountNeverWrapsToZero) {
  CompileMacro(QStringList(256, QStringLiteral("X)Y")).join(u'\n'));
  EXPECT_EQ(MacroErrorList.size(), 256 * 3);
  EXPECT_EQ(CompiledMacro.errorCount, 255);
}

}  // namespace
