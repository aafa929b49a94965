#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "common/folders.h"
#include "tests/support/printers.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

// /proc takes no new file from anyone, root included: an executable folder
// that cannot be written, without relying on permissions.
const QString kUnwritable = QStringLiteral("/proc");

enum class Where { Executable, UserData, Home };
enum class Executable { Writable, Unwritable, Missing };

class ProgramFolderChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    savedDataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
  }
  void TearDown() override {
    TestHost().executableFolder = {};
    TestHost().programFolder = {};
    if (savedDataHome.isNull())
      qunsetenv("XDG_DATA_HOME");
    else
      qputenv("XDG_DATA_HOME", savedDataHome);
  }

  QString userFolder() const { return data.path() + "/qv20/"; }

  QString executableFolder(Executable e) const {
    switch (e) {
      case Executable::Writable:
        return executable.path();
      case Executable::Unwritable:
        return kUnwritable;
      case Executable::Missing:
        break;
    }
    return executable.path() + "/gone";
  }

  QString folderOf(Where where) const {
    switch (where) {
      case Where::Executable:
        return executable.path() + "/";
      case Where::Home:
        return home.path() + "/";
      case Where::UserData:
        break;
    }
    return userFolder();
  }

  QByteArray savedDataHome;
  QTemporaryDir data, executable, home;
};

struct Choice {
  const char* what;
  Executable executable;
  bool withHome;
  Where expected;
};

const Choice kChoices[] = {
    {"a writable executable folder keeps the files", Executable::Writable, false,
     Where::Executable},
    {"an unwritable one gives the user's data folder", Executable::Unwritable, false,
     Where::UserData},
    {"a missing one gives the user's data folder", Executable::Missing, false, Where::UserData},
    {"--home wins over an unwritable executable folder", Executable::Unwritable, true, Where::Home},
    {"--home wins over a writable one", Executable::Writable, true, Where::Home},
};

TEST_F(ProgramFolderChoice, FollowsTheExecutableFolderAndHome) {
  for (const Choice& c : kChoices) {
    SCOPED_TRACE(c.what);
    QDir(userFolder()).removeRecursively();
    TestHost().executableFolder = executableFolder(c.executable);
    TestHost().programFolder = c.withHome ? home.path() : QString();
    const QString expected = folderOf(c.expected);
    EXPECT_EQ(ProgramFolder(), expected);
    EXPECT_EQ(QDir(userFolder()).exists(), c.expected == Where::UserData)
        << "the user's folder is made only when it is the program folder";
    CreateWorkingFolders();
    EXPECT_TRUE(QDir(expected + "LOG").exists());
    EXPECT_EQ(SettingsFilePath(), expected + "qv20.ini");
  }
}

TEST_F(ProgramFolderChoice, UserDataFolderIsTheProgramsWhicheverToolAsks) {
  const QString name = QCoreApplication::applicationName();
  for (const char* tool : {"qv20", "qvctl"}) {
    QCoreApplication::setApplicationName(tool);
    EXPECT_EQ(UserDataFolder(), userFolder()) << tool;
  }
  QCoreApplication::setApplicationName(name);
}

TEST(WritableFolder, IsTriedAndLeavesNothingBehind) {
  QTemporaryDir folder;
  EXPECT_TRUE(IsWritableFolder(folder.path()));
  EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
  EXPECT_FALSE(IsWritableFolder(kUnwritable));
  EXPECT_FALSE(IsWritableFolder(folder.path() + "/missing"));
}

}  // namespace
