// Inputs that once broke a property of a fuzz target (tests/fuzz), replayed
// with the normal tests. Each folder under regressions/ holds the inputs of
// one property; a new finding is added as one more file.
#include <gtest/gtest.h>
#include <QDir>

#include "common/cp1251.h"
#include "macro/rtf.h"
#include "tests/support/temp_folder.h"

using namespace qv;

namespace {

struct RegressionInput {
  std::string name;
  QByteArray bytes;
};

QList<RegressionInput> regressionInputs(const QString& folder) {
  const QDir dir(QStringLiteral(MACRO_FIXTURE_FOLDER "regressions/") + folder);
  QList<RegressionInput> inputs;
  for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
    inputs.append({name.toStdString(), ReadAll(dir.filePath(name))});
  return inputs;
}

QByteArray withLineFeeds(QByteArray bytes) {
  return bytes.replace("\r\n", "\n").replace('\r', '\n');
}

// A plain macro file reads without loss, and saving what was read as RTF
// reads back the same text.
TEST(MacroFileRegressions, PlainTextKeepsItsBytesAndSurvivesSaving) {
  const QList<RegressionInput> inputs = regressionInputs(QStringLiteral("macro_file"));
  ASSERT_FALSE(inputs.isEmpty());
  for (const RegressionInput& input : inputs) {
    const QString text = DecodeMacroFile(input.bytes);
    const QByteArray lines = withLineFeeds(input.bytes);
    EXPECT_TRUE(ToCp1251(text) == lines || text.toUtf8() == lines) << input.name;
    EXPECT_EQ(DecodeMacroFile(MacroTextToRtf(text, {})), text) << input.name;
  }
}

// Only well-formed UTF-8 is read as UTF-8; anything else is Windows-1251.
TEST(MacroFileRegressions, MalformedUtf8IsReadAsWindows1251) {
  const struct {
    const char* bytes;
    const char* what;
  } cases[] = {
      {"\xED\xA0\x80", "a surrogate"},
      {"\xE0\x80\x80", "an overlong three-byte form"},
      {"\xF0\x8F\xBF\xBF", "an overlong four-byte form"},
      {"\xF4\x90\x80\x80", "a code point past U+10FFFF"},
      {"\xF5\x80\x80\x80", "a lead byte past F4"},
      {"\xC0\xAF", "an overlong two-byte form"},
  };
  for (const auto& c : cases) {
    const QByteArray bytes = QByteArray("// ") + c.bytes + " :";
    EXPECT_EQ(DecodeMacroFile(bytes), FromCp1251(bytes)) << c.what;
  }
  EXPECT_EQ(DecodeMacroFile("\xD0\x96 \xF0\x9F\x98\x80 \xEF\xBF\xBF"),
            QStringLiteral("Ж 😀 \uFFFF"));
}

}  // namespace
