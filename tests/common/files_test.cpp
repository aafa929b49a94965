#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <functional>

#include "common/folders.h"
#include "common/textfile.h"
#include "tests/support/temp_folder.h"

using namespace qv;

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

// Runs the writes in a child process whose files may not grow beyond limit
// bytes, as on a full disk; the child's exit code is the count of writes that
// reported success.
int withFileSizeLimit(rlim_t limit, const std::function<int()>& writes) {
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit small = {limit, limit};
    setrlimit(RLIMIT_FSIZE, &small);
    _exit(writes());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TextFile, AppendOnAFullDiskLeavesNoPartOfTheLine) {
  TempProgramFolder folder;
  const QString path = folder.file("log.txt");
  ASSERT_TRUE(AppendToFile(path, "one\r\n"));
  EXPECT_EQ(withFileSizeLimit(8, [&] { return AppendToFile(path, "two two\r\n") ? 1 : 0; }), 0);
  EXPECT_EQ(ReadAll(path), "one\r\n");
  EXPECT_TRUE(AppendToFile(path, "three\r\n"));
  EXPECT_EQ(ReadAll(path), "one\r\nthree\r\n");
}

TEST(TextFile, LineAfterACutLineStartsALineOfItsOwn) {
  TempProgramFolder folder;
  const QString path = folder.file("log.txt");
  WriteAll(path, "one\r\ntw");  // a crash in the middle of the second line
  EXPECT_TRUE(AppendToFile(path, "three\r\n"));
  EXPECT_EQ(ReadAll(path), "one\r\ntw\r\nthree\r\n");
  EXPECT_TRUE(AppendToFile(path, "no line end"));
  EXPECT_TRUE(AppendToFile(path, "-continued"));
  EXPECT_EQ(ReadAll(path), "one\r\ntw\r\nthree\r\nno line end-continued");
}

TEST(TextFile, FailedReplaceKeepsTheFileAndLeavesNothingBeside) {
  TempProgramFolder folder;
  const QString path = folder.file("t.bin");
  ASSERT_TRUE(WriteFileSafely(path, "previous"));
  const QStringList before = QDir(folder.path()).entryList(QDir::Files | QDir::Hidden);
  EXPECT_EQ(withFileSizeLimit(100, [&] { return WriteFileSafely(path, QByteArray(5000, 'x')); }),
            0);
  EXPECT_EQ(ReadAll(path), "previous");
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), before);
}

TEST(TextFile, ReplaceKeepsPermissionsAndFollowsALink) {
  TempProgramFolder folder;
  const QString path = folder.file("real.ini");
  ASSERT_TRUE(WriteFileSafely(path, "old"));
  ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0640), 0);
  ASSERT_TRUE(QFile::link(path, folder.file("link.ini")));
  ASSERT_TRUE(WriteFileSafely(folder.file("link.ini"), "new"));
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_TRUE(QFileInfo(folder.file("link.ini")).isSymLink());
  struct stat st = {};
  ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  if (geteuid() != 0) {  // root may write anything
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), 0440), 0);
    EXPECT_FALSE(WriteFileSafely(path, "refused"));
    EXPECT_EQ(ReadAll(path), "new");
  }
}

TEST(TextFile, ReplaceRemovesWhatKilledSavesLeft) {
  TempProgramFolder folder;
  const QString path = folder.file("t.ini");
  // Names of a save killed between naming its file and moving it (a process
  // that no longer exists), of one still running, and a user's own file.
  const QString gone = path + ".~2147483647-x1";
  const QString running = path + QStringLiteral(".~%1-x2").arg(getppid());
  const QString users = path + ".~notes";
  for (const QString& name : {gone, running, users})
    WriteAll(name, "x");
  ASSERT_TRUE(WriteFileSafely(path, "content"));
  EXPECT_FALSE(QFile::exists(gone));
  EXPECT_TRUE(QFile::exists(running));
  EXPECT_TRUE(QFile::exists(users));
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
