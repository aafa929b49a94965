#include <gtest/gtest.h>
#include <QDir>

#include "common/folders.h"
#include "common/textfile.h"
#include "tests/support/temp_folder.h"

namespace {

TEST(TextFile, WritesWindows1251WithCrLf) {
  TempProgramFolder folder;
  const QString path = folder.file("t.txt");
  ASSERT_TRUE(WriteTextFile(path, QString::fromUtf8("Да\nНет\r\nx\ry")));
  EXPECT_EQ(ReadAll(path), QByteArray("\xC4\xE0\r\n\xCD\xE5\xF2\r\nx\r\ny"));
  bool ok = false;
  EXPECT_EQ(ReadTextFile(path, &ok), QString::fromUtf8("Да\nНет\nx\ny"));
  EXPECT_TRUE(ok);
}

TEST(TextFile, ReplacesWholeAndReportsFailure) {
  TempProgramFolder folder;
  const QString path = folder.file("t.txt");
  ASSERT_TRUE(WriteTextFile(path, "a much longer first content"));
  ASSERT_TRUE(WriteTextFile(path, "short"));
  EXPECT_EQ(ReadAll(path), "short");
  EXPECT_FALSE(WriteTextFile(folder.file("missing/t.txt"), "x"));
  bool ok = true;
  EXPECT_TRUE(ReadTextFile(folder.file("nothing.txt"), &ok).isEmpty());
  EXPECT_FALSE(ok);
}

TEST(TextFile, AppendAddsToTheEnd) {
  TempProgramFolder folder;
  const QString path = folder.file("log.txt");
  EXPECT_TRUE(AppendToFile(path, "one\r\n"));
  EXPECT_TRUE(AppendToFile(path, "two\r\n"));
  EXPECT_EQ(ReadAll(path), "one\r\ntwo\r\n");
  EXPECT_FALSE(AppendToFile(folder.file("missing/log.txt"), "x"));
}

TEST(Folders, WorkingFoldersUnderTheProgramFolder) {
  TempProgramFolder folder;
  EXPECT_EQ(LogFolder(), folder.path() + "LOG/");
  EXPECT_EQ(MacroFolder(), folder.path() + "QVML/");
  for (const QString& f : {LogFolder(), GraFolder(), MacroFolder(), MemFolder()}) {
    EXPECT_TRUE(QDir(f).exists()) << f.toStdString();
  }
}

}  // namespace
