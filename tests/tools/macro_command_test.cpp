#include <gtest/gtest.h>
#include <QProcess>
#include <QTemporaryDir>

#include "common/textfile.h"
#include "macro/rtf.h"
#include "tests/macro/macro_test_support.h"

using namespace qv;

namespace {

struct CommandRun {
  int exitCode = 0;
  QString out;
  QString err;
};

// Runs "qvctl macro" with the arguments.
CommandRun runCommand(const QStringList& args) {
  QProcess process;
  process.start(QVCTL_PATH, QStringList{"macro"} + args);
  process.closeWriteChannel();
  EXPECT_TRUE(process.waitForFinished(30000));
  CommandRun run;
  run.exitCode = process.exitCode();
  run.out = QString::fromUtf8(process.readAllStandardOutput());
  run.err = QString::fromUtf8(process.readAllStandardError());
  return run;
}

class MacroCommand : public ::testing::Test {
 protected:
  QString file(const QString& name, const QString& text) {
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(WriteTextFile(path, text));
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(MacroCommand, CompilePrintsTheSealedImage) {
  const CommandRun run = runCommand({"compile", file("pb.qvml", "MACRO(Pb0);END_MACRO;")});
  EXPECT_EQ(run.out, "09 00 00 01 50 42 30 00 F2\n");  // formatted first: two lines
  EXPECT_TRUE(run.err.isEmpty());
  EXPECT_EQ(run.exitCode, 0);
}

TEST_F(MacroCommand, ListingOfTheNiMhTemplate) {
  const CommandRun run =
      runCommand({"listing", file("n.qvml", TemplateText(MacroTemplateKind::NiMh))});
  const QStringList lines = run.out.split(u'\n');
  ASSERT_EQ(lines.size(), 6 + 15 + 1);
  EXPECT_EQ(lines[0], "   Имя: NIMH0.QVML");
  EXPECT_EQ(lines[2], "   CRC: 212");
  EXPECT_EQ(lines[6], "24 17 00 01 4E 49 4D 48 30 00 ");
  EXPECT_EQ(lines[20], "D4 ");
  EXPECT_EQ(run.exitCode, 0);
}

TEST_F(MacroCommand, FormatReadsRtfAndReportsErrors) {
  const QString text = QStringLiteral("MACRO(X); // тест\nBOGUS;\n");
  const QString path = dir_.filePath("x.qvml");
  ASSERT_TRUE(WriteFileSafely(path, MacroTextToRtf(text, {})));
  const CommandRun run = runCommand({"format", path});
  EXPECT_EQ(run.out, FormatMacroText(text).text);
  EXPECT_EQ(run.err, "Ошибка в строке: 1. Название команды не определено.\n");
  EXPECT_EQ(run.exitCode, 1);
}

TEST_F(MacroCommand, FileWithoutMacroStatementListsUnderItsFileName) {
  const CommandRun run = runCommand({"listing", file("plain.qvml", "FAZE;")});
  EXPECT_TRUE(run.out.startsWith("   Имя: plain.qvml\n"));
}

TEST_F(MacroCommand, WrongUse) {
  EXPECT_NE(runCommand({}).exitCode, 0);
  EXPECT_NE(runCommand({"run", "x"}).exitCode, 0);
  const CommandRun missing = runCommand({"compile", dir_.filePath("none.qvml")});
  EXPECT_NE(missing.exitCode, 0);
  EXPECT_TRUE(missing.out.isEmpty());
  EXPECT_FALSE(missing.err.isEmpty());
}

}  // namespace
