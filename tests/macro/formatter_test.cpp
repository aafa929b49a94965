#include <gtest/gtest.h>

#include <random>

#include "common/settings_record.h"
#include "macro/command_table.h"
#include "macro/listing.h"
#include "tests/macro/macro_test_support.h"

using namespace qv;

namespace {

struct LayoutCase {
  const char* text;
  QStringList lines;  // without their padding
};

TEST(FormatMacroText, Layout) {
  const LayoutCase cases[] = {
      {"A ( B )", {"A(B)"}},
      {"X = ( 1 )", {"X = (1)"}},
      {"TRICKLE(0.1C,2.3S , 2.5S)", {"TRICKLE(0.1C, 2.3S, 2.5S)"}},
      {"CAPACITY = 2000 ;", {"CAPACITY = 2000 ;"}},
      {"IF(V<0.9S)STOP_FAZE;", {"IF(V < 0.9S)STOP_FAZE;"}},
      {"IF(DELTA_PEAK=0.2S)STOP_FAZE;", {"IF(DELTA_PEAK = 0.2S)STOP_FAZE;"}},
      {"IF( T >45 )STOP_FAZE;", {"IF(T > 45)STOP_FAZE;"}},
      {"CONSTANT_I=.5C;", {"CONSTANT_I = .5C;"}},  // the blank after "=" stays
      {"A<=B;", {"A < = B;"}},                     // one blank per gap, not two
      {"FAZE;END_FAZE;", {"FAZE;", "END_FAZE;"}},
      {"\n\n  FAZE;\n\n\nEND_FAZE\n\n", {"FAZE;", "END_FAZE"}},
      {"FAZE", {"FAZE"}},
      {"", {}},
      {"FAZE;\b// go", {QString("FAZE;\b").leftJustified(30) + "// go"}},
      {"FAZE;   // go", {QString("FAZE; ").leftJustified(30) + "// go"}},
      {"// only a comment", {"// only a comment"}},
      // A ";" inside a line comment stays comment text.
      {"FAZE; // wait; then stop", {QString("FAZE; ").leftJustified(30) + "// wait; then stop"}},
      {"/* a; b */", {"/* a;", "b */"}},
      {"MACRO(A);CHARGE_SECTION;CYCLE(3);FAZE;END_FAZE;END_CYCLE;END_SECTION;END_MACRO;",
       {"MACRO(A);", "   CHARGE_SECTION;", "      CYCLE(3);", "         FAZE;",
        "         END_FAZE;", "      END_CYCLE;", "   END_SECTION;", "END_MACRO;"}},
      {"macro(a);faze;end_macro;", {"macro(a);", "   faze;", "end_macro;"}},
      {"END_CYCLE;FAZE;", {"END_CYCLE;", "FAZE;"}},  // below level 0: no indent
  };
  for (const LayoutCase& c : cases) {
    const QString formatted = FormatMacroText(QString::fromUtf8(c.text)).text;
    EXPECT_EQ(TrimmedLines(formatted), c.lines) << c.text;
    for (const QString& line : formatted.split(u'\n', Qt::SkipEmptyParts)) {
      EXPECT_GE(line.size(), 50) << c.text;
    }
  }
}

TEST(FormatMacroText, CommentAfterLongStatementSetOneBlankAfterIt) {
  const QString statement = QStringLiteral("TRICKLE(0.1C, 2.3S, 2.5S);");
  for (const QString& gap : {QString(), QStringLiteral(" "), QStringLiteral("      ")}) {
    const QString text = "MACRO(A);CHARGE_SECTION;" + statement + gap + "// x\n";
    EXPECT_EQ(TrimmedLines(FormatMacroText(text).text)[2], "      " + statement + " // x");
  }
}

const QStringList kNiMhLines = {
    "MACRO(NiMh0);",
    "   AKK_TYPE = NiMh;",
    "   DISCHARGE_SECTION;",
    "      FAZE;",
    "      CONSTANT_I = 1C;",
    "      IF(V < 1S)STOP_FAZE;",
    "      END_FAZE;",
    "   CHARGE_SECTION;",
    "      FAZE;",
    "      CONSTANT_I = INPUT;",
    "      IF(DELTA_PEAK = 0.2S)STOP_FAZE;",
    "      END_FAZE;",
    "   END_SECTION;",
    "   MUSIC(STOP);",
    "END_MACRO;",
};

const QStringList kNiMhRows = {
    "24 17 00 01 4E 49 4D 48 30 00 ",
    "15 03 ",
    "03 ",
    "08 ",
    "3C 64 80 ",
    "52 64 80 2A ",
    "09 ",
    "04 ",
    "08 ",
    "3C 9C FF ",
    "59 14 80 2A ",
    "09 ",
    "05 ",
    "64 01 ",
    "D4 ",
};

// The background of each line: that of the run covering its whole width.
QList<MacroColour> lineBackgrounds(const FormattedMacroText& formatted) {
  QList<MacroColour> backgrounds;
  int offset = 0;
  for (const QString& line : formatted.text.split(u'\n', Qt::SkipEmptyParts)) {
    for (const MacroColourRun& run : formatted.runs) {
      if (run.start == offset && run.length == line.size() + 1 && run.bold) {
        backgrounds.append(run.background);
      }
    }
    offset += static_cast<int>(line.size()) + 1;
  }
  return backgrounds;
}

TEST(NiMhTemplate, FormattedCompiledAndListedRowForRow) {
  const FormattedMacroText formatted = FormatMacroText(TemplateText(MacroTemplateKind::NiMh));
  EXPECT_EQ(TrimmedLines(formatted.text), kNiMhLines);
  for (const QString& line : formatted.text.split(u'\n', Qt::SkipEmptyParts)) {
    EXPECT_EQ(line.size(), 50);
  }
  CompileMacro(formatted.text);
  const MacroListing listing = ShowMacroListing(0);
  EXPECT_EQ(listing.hexRows, kNiMhRows);
  EXPECT_EQ(listing.info, QStringList({"   Имя: NIMH0.QVML", " Всего: 36", "   CRC: 212",
                                       "  Faza: 2", "Cycles: 0", "Errors: 0"}));
  const MacroColour R = kLightRed, G = kLightGreen, B = kSkyBlue;
  EXPECT_EQ(lineBackgrounds(formatted),
            QList<MacroColour>({R, G, G, B, B, B, B, G, B, B, B, B, G, G, R}));
}

TEST(NiMhTemplate, CaretRowHighlighted) {
  CompileMacro(FormatMacroText(TemplateText(MacroTemplateKind::NiMh)).text);
  const MacroListing listing = ShowMacroListing(2);
  // Rows 0 and 1 with their line breaks come first.
  EXPECT_EQ(listing.highlight, (MacroColourRun{30 + 1 + 6 + 1, 3, kBlack, kLightRed, true}));
  EXPECT_EQ(listing.hexRows.join(u'\n').mid(listing.highlight.start, 3), "03 ");
  EXPECT_EQ(ShowMacroListing(15).highlight.length, 0);
  EXPECT_EQ(ShowMacroListing(-1).highlight.length, 0);
}

TEST(FormatMacroText, PhasesAlternateAndCommentWordsCount) {
  const FormattedMacroText pb = FormatMacroText(TemplateText(MacroTemplateKind::Pb));
  const QList<MacroColour> backgrounds = lineBackgrounds(pb);
  ASSERT_EQ(backgrounds.size(), 19);
  EXPECT_EQ(backgrounds[8], kSkyBlue);    // first phase of the charge section
  EXPECT_EQ(backgrounds[12], kLavender);  // the next one
  // FAZE in a comment toggles as well.
  const FormattedMacroText commented = FormatMacroText("MACRO(A);CHARGE_SECTION;\n// FAZE\nX;");
  EXPECT_EQ(lineBackgrounds(commented),
            QList<MacroColour>({kLightRed, kLightGreen, kSkyBlue, kSkyBlue}));
}

TEST(FormatMacroText, RunsOfALine) {
  const FormattedMacroText f = FormatMacroText("MACRO(A);\nCONSTANT_I=1C;\nX=(1);\nMUSIC(STOP);");
  const int second = 51, third = 102, fourth = 153;
  const auto has = [&f](MacroColourRun run) { return f.runs.contains(run); };
  EXPECT_EQ(f.runs.front(), (MacroColourRun{0, 204, kBlack, kWhite, false}));
  EXPECT_TRUE(has({0, 51, kBlack, kLightRed, true}));
  EXPECT_TRUE(has({6, 1, kBlue, kLightRed, true}));  // A between the parentheses
  // "   CONSTANT_I = 1C;": purple up to the "=", blue after it.
  EXPECT_TRUE(has({second, 14, kPurple, kLightGreen, true}));
  EXPECT_TRUE(has({second + 15, 35, kBlue, kLightGreen, true}));
  // "   X = (1);": with parentheses only their inside is blue.
  EXPECT_TRUE(has({third, 5, kPurple, kLightGreen, true}));
  EXPECT_TRUE(has({third + 8, 1, kBlue, kLightGreen, true}));
  EXPECT_FALSE(has({third + 6, 44, kBlue, kLightGreen, true}));
  EXPECT_TRUE(has({fourth + 9, 4, kBlue, kLightGreen, true}));
}

TEST(FormatMacroText, CommentRuns) {
  const FormattedMacroText f = FormatMacroText("FAZE; // c\n/* a\nb */ FAZE;\n/* open");
  const QString& t = f.text;
  const int line = static_cast<int>(t.indexOf(u'\n'));
  const auto comment = [](qsizetype start, qsizetype length) {
    return MacroColourRun{static_cast<int>(start), static_cast<int>(length), kGreen, kYellow, true};
  };
  EXPECT_TRUE(f.runs.contains(comment(30, line - 30)));  // to the end of its line
  const qsizetype block = t.indexOf("/* a");
  EXPECT_TRUE(f.runs.contains(comment(block, t.indexOf("*/") + 2 - block)));
  const qsizetype open = t.indexOf("/* open");
  EXPECT_TRUE(f.runs.contains(comment(open, t.size() - open)));  // unclosed: to the end
  EXPECT_EQ(f.runs.back(), comment(open, t.size() - open));      // comments come last
}

TEST(FormatMacroText, SelectionKeptWithinTheNewText) {
  const FormattedMacroText f = FormatMacroText("FAZE;", 3, 100);
  EXPECT_EQ(f.selectionStart, 3);
  EXPECT_EQ(f.selectionLength, 48);
  EXPECT_EQ(FormatMacroText("", 5, 2).selectionStart, 0);
}

void expectStable(const QString& text) {
  const QString once = FormatMacroText(text).text;
  EXPECT_EQ(FormatMacroText(once).text, once) << "from: " << text.toStdString();
}

TEST(FormatMacroTextIdempotence, Templates) {
  for (const MacroTemplate& t : MacroTemplates)
    expectStable(QString::fromLatin1(t.text));
}

// Statements from the command table with random operands, spacing, letter
// case, comments and separators.
class StatementMixer {
 public:
  explicit StatementMixer(unsigned startingValue) : random_(startingValue) {}

  QString text(int statements) {
    QString text;
    for (int i = 0; i < statements; ++i)
      text += statement() + separator();
    return text;
  }
  // One statement a line, as the compiler takes them.
  QString lines(int statements) {
    QString text;
    for (int i = 0; i < statements; ++i)
      text += statement() + QStringLiteral(";\n");
    return text;
  }
  QString soup(int length) {
    static const QString alphabet = QStringLiteral(" ;=<>,.()/*\nAbcЯ0123456789_\tC");
    QString text;
    for (int i = 0; i < length; ++i)
      text += alphabet[pick(static_cast<int>(alphabet.size()))];
    return text;
  }

 private:
  int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  QString blanks() { return QString(pick(3) == 0 ? pick(4) : 0, u' '); }
  QString operand() {
    static const QStringList values = {"0.3C", "2.3S", "INPUT", "1", "120",
                                       "-1",   ".5",   "4,2S",  "Pb"};
    return values[pick(static_cast<int>(values.size()))];
  }
  QString statement() {
    QString pattern = MacroCommandTable[pick(kMacroCommandCount)].pattern;
    QString result;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
      if (pattern[i] == u'#') {
        result += blanks() + operand() + blanks();
        ++i;
      } else {
        result += pattern[i];
        // A condition's subject follows its "(" directly: "IF( T" finds no entry.
        const bool subjectNext = pattern.startsWith("IF(") && i == 2;
        if (QStringLiteral("(),=<>").contains(pattern[i]) && !subjectNext)
          result += blanks();
      }
    }
    if (pick(4) == 0)
      result = result.toLower();
    if (pattern.startsWith("IF(") && pick(2) == 0)
      result += QStringLiteral("STOP_FAZE");
    return result;
  }
  QString separator() {
    switch (pick(6)) {
      case 0:
        return QStringLiteral(";\n");
      case 1:
        return QStringLiteral(";") + blanks() + QStringLiteral("// note ;x=1\n");
      case 2:
        return QStringLiteral("; /* a,b */ ");
      case 3:
        return QStringLiteral("\n\n");
      default:
        return QStringLiteral(";");
    }
  }

  std::mt19937 random_;
};

TEST(FormatMacroTextIdempotence, GeneratedStatementMixes) {
  StatementMixer mixer(20240611);
  for (int i = 0; i < 200; ++i)
    expectStable(mixer.text(1 + i % 25));
}

TEST(FormatMacroTextIdempotence, CharacterSoup) {
  StatementMixer mixer(7);
  for (int i = 0; i < 300; ++i)
    expectStable(mixer.soup(5 + i % 80));
}

// Spacing, indentation and padding never change what a line compiles to.
TEST(FormatMacroText, LayoutKeepsTheImage) {
  StatementMixer mixer(99);
  for (int i = 0; i < 100; ++i) {
    const QString text = mixer.lines(12);
    CompileMacro(text);
    const QString image = ImageText();
    const QStringList messages = MacroErrorList;
    CompileMacro(FormatMacroText(text).text);
    EXPECT_EQ(ImageText(), image) << text.toStdString();
    EXPECT_EQ(MacroErrorList, messages) << text.toStdString();
  }
}

}  // namespace
