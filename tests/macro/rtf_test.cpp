#include <gtest/gtest.h>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "common/textfile.h"
#include "macro/rtf.h"
#include "tests/macro/macro_test_support.h"
#include "tests/support/temp_folder.h"

using namespace qv;

namespace {

// The Pb template laid out, with Cyrillic comments and the characters RTF
// has to escape.
QString commentedMacro() {
  QString text = FormatMacroText(TemplateText(MacroTemplateKind::Pb)).text;
  text.replace(QStringLiteral("AKK_TYPE = Pb;"),
               QStringLiteral("AKK_TYPE = Pb; // свинцовый, ёмкость {С20} \\ ток"));
  return QStringLiteral("// Заряд: Ёж, ЪЫЬ, №5\n") + FormatMacroText(text).text;
}

TEST(MacroRtf, SavedTextLoadsBackTheSame) {
  const FormattedMacroText formatted = FormatMacroText(commentedMacro());
  const QString odd = QStringLiteral("\tTAB ✓ 😀 €\n{}\\par\n");
  for (const QString& text :
       {formatted.text, formatted.text + odd, QString(), QStringLiteral("no break")}) {
    const QByteArray rtf = MacroTextToRtf(text, formatted.runs);
    EXPECT_TRUE(IsRtf(rtf));
    EXPECT_EQ(DecodeMacroFile(rtf), text);
  }
}

TEST(MacroRtf, DocumentIsSevenBitWithCrLfLines) {
  const FormattedMacroText formatted = FormatMacroText(commentedMacro());
  const QByteArray rtf = MacroTextToRtf(formatted.text, formatted.runs);
  for (const char byte : rtf)
    ASSERT_LT(static_cast<unsigned char>(byte), 0x80);
  EXPECT_EQ(rtf.count("\r\n"), rtf.count('\n'));
  EXPECT_TRUE(rtf.contains("\\ansicpg1251"));
  EXPECT_TRUE(rtf.contains("\\u1047\\'c7"));  // З, with its Windows-1251 fallback
  for (const char* colour :
       {"\\red255\\green160\\blue160", "\\red160\\green255\\blue160", "\\red166\\green202\\blue240",
        "\\red214\\green202\\blue240", "\\red128\\green0\\blue128", "\\red0\\green0\\blue255",
        "\\red0\\green128\\blue0", "\\red255\\green255\\blue0"}) {
    EXPECT_TRUE(rtf.contains(colour)) << colour;
  }
  EXPECT_TRUE(rtf.contains("\\b "));
}

struct ReaderCase {
  const char* rtf;
  const char* text;
};

TEST(RtfToText, ControlWordsGroupsAndCodePages) {
  const ReaderCase cases[] = {
      // As word processors of a Russian system write it.
      {"{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fnil\\fcharset204 Courier New;}}"
       "\\f0\\fs20 \\'d2\\'e8\\'ef\\par}",
       "Тип\n"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}"
       "\\f0 caf\\'e9 \\'80 {\\f1 \\'c4\\'e0}}",
       "café € Да"},
      {"{\\rtf1\\uc0\\u1044\\u1072}", "Да"},
      {"{\\rtf1\\uc2\\u1044??x}", "Дx"},
      {"{\\rtf1 {\\uc1\\u1044\\'3f}x\\u-3913?}", "Дx\xEF\x82\xB7"},
      {"{\\rtf1{\\*\\generator X;}{\\info{\\title T}}{\\colortbl;\\red0\\green0\\blue0;}"
       "{\\stylesheet{\\s0 Normal;}}A\\line B\\tab C}",
       "A\nB\tC"},
      {"{\\rtf1 \\{\\}\\\\ x\\~y\\-z}", "{}\\ x\xC2\xA0yz"},
      {"{\\rtf1 A{\\pict\\bin3 }}}}B}", "AB"},
      {"{\\rtf1 A\r\nB\\par\r\nC\\\r\nD}", "AB\nC\nD"},
      {"{\\rtf1 x\\b bold\\b0  y\\highlight3 z}", "xbold yz"},
  };
  for (const ReaderCase& c : cases)
    EXPECT_EQ(RtfToText(c.rtf), QString::fromUtf8(c.text)) << c.rtf;
}

TEST(DecodeMacroFile, PlainTextFallbacks) {
  const std::pair<QByteArray, QString> cases[] = {
      {"\xC4\xE0\r\nX\rY", QStringLiteral("Да\nX\nY")},
      {"\xEF\xBB\xBF\xD0\x94\xD0\xB0\r\n", QStringLiteral("Да\n")},
      {QByteArray("\xFF\xFE\x14\x04\x30\x04\r\0\n\0", 10), QStringLiteral("Да\n")},
      {QByteArray("\xFE\xFF\x04\x14\x04\x30", 6), QStringLiteral("Да")},
      {"{\\rt", QStringLiteral("{\\rt")},
      // UTF-8 without a mark, as Linux editors write it; Windows-1251 bytes
      // that happen to look like a UTF-8 lead stay Windows-1251.
      {"// \xD0\x94\xD0\xB0\n", QStringLiteral("// Да\n")},
      {"\xD0\xE0", QStringLiteral("Ра")},
      {"\xC2\xE0\xF1\xFF", QStringLiteral("Вася")},
  };
  for (const auto& [bytes, text] : cases)
    EXPECT_EQ(DecodeMacroFile(bytes), text) << bytes.toHex().toStdString();
}

// Saved once by a word processor from a laid-out Pb macro with Cyrillic
// comments: \uN characters with "?" fallbacks, style sheets, page tables.
TEST(DecodeMacroFile, ForeignRtfLoads) {
  const QString text = DecodeMacroFile(ReadAll(MACRO_FIXTURE_FOLDER "pb_writer.rtf"));
  for (const char* comment : {"// Типичный заряд свинцового аккумулятора", "// тип: свинцовый",
                              "// ток разряда 0,3 ёмкости", "/* подзаряд {малым} током */"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(comment))) << comment;
  }
  EXPECT_FALSE(text.contains(u'?'));
  CompileMacro(FormatMacroText(text).text);
  EXPECT_TRUE(MacroErrorList.isEmpty()) << MacroErrorList.join(' ').toStdString();
  const QString image = ImageText();
  CompileMacro(FormatMacroText(TemplateText(MacroTemplateKind::Pb)).text);
  EXPECT_EQ(image, ImageText());
}

QString runUnrtf(const QString& program, const QString& mode, const QString& file) {
  QProcess process;
  process.start(program, {mode, file});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString collapsedBlanks(const QString& text) {
  return text.simplified();
}

// An independent reader sees what we save: unrtf's text output for the
// statements and lines, its HTML output (the only one that keeps \uN) for the
// Cyrillic and the colours.
TEST(MacroRtf, IndependentReaderReadsOurText) {
  const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
  if (unrtf.isEmpty())
    GTEST_SKIP() << "unrtf is not installed (Debian package unrtf)";
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("saved.rtf"));
  const FormattedMacroText formatted = FormatMacroText(commentedMacro());
  ASSERT_TRUE(WriteFileSafely(file, MacroTextToRtf(formatted.text, formatted.runs)));

  const QString plain = runUnrtf(unrtf, QStringLiteral("--text"), file);
  const QStringList body = plain.section(QStringLiteral("-----------------\n"), 1).split(u'\n');
  const QStringList lines = TrimmedLines(formatted.text);
  ASSERT_GE(body.size(), lines.size()) << plain.toStdString();
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const bool ascii =
        std::all_of(lines[i].begin(), lines[i].end(), [](QChar ch) { return ch.unicode() < 0x80; });
    if (ascii) {
      EXPECT_EQ(collapsedBlanks(body[i]), collapsedBlanks(lines[i])) << i;
    }
  }

  QString html = runUnrtf(unrtf, QStringLiteral("--html"), file);
  // The colouring comes through as well: line backgrounds, purple names, comments.
  for (const char* style : {"background:#ffa0a0", "background:#a0ffa0", "background:#a6caf0",
                            "background:#ffff00", "color=\"#800080\"", "color=\"#008000\""}) {
    EXPECT_TRUE(html.contains(QLatin1String(style))) << style;
  }
  html.replace(QRegularExpression(QStringLiteral("<[^>]*>")), QString());
  html.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
  QString decoded;
  const QRegularExpression entity(QStringLiteral("&#(\\d+);"));
  qsizetype last = 0;
  for (auto it = entity.globalMatch(html); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    decoded += html.mid(last, match.capturedStart() - last) + QChar(match.captured(1).toInt());
    last = match.capturedEnd();
  }
  decoded = collapsedBlanks(decoded + html.mid(last));
  for (const char* words : {"// Заряд: Ёж, ЪЫЬ, №5", "// свинцовый, ёмкость {С20} \\ ток"}) {
    EXPECT_TRUE(decoded.contains(QString::fromUtf8(words))) << words << "\n"
                                                            << decoded.toStdString();
  }
}

}  // namespace
