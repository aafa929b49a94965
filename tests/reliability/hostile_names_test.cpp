// Names that try to reach outside the macro folder: from a MACRO( ) statement
// when saving, from the settings file's list when selecting and deleting.
#include <gtest/gtest.h>
#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>

#include "common/cp1251.h"
#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "macro/file_name.h"
#include "macro/store.h"
#include "settings/settings.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

// Every file under the folder, by path relative to it.
QStringList filesUnder(const QString& folder) {
  QStringList files;
  QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext())
    files << QDir(folder).relativeFilePath(it.next());
  files.sort();
  return files;
}

// The program folder one level down, so that "../" from the macro folder
// and from the program folder both land in folders the test watches.
class HostileNames : public ::testing::Test {
 protected:
  void SetUp() override {
    program = root.path() + "/prog/";
    QDir().mkpath(program);
    TestHost().programFolder = program;
    CreateWorkingFolders();
    MacroNameList = MacroNameListRecord{};
    MacroEditor = MacroEditorRecord{};
    CurrentMacroName.clear();
    TestHost().answer = true;
  }
  void TearDown() override { TestHost().programFolder.clear(); }

  QTemporaryDir root;
  QString program;
};

TEST_F(HostileNames, MacroStatementNamesStayInTheMacroFolder) {
  const struct {
    const char* name;
    const char* file;
  } cases[] = {
      {"../../x", ".._.._x.qvml"},
      {"..\\..\\x", ".._.._x.qvml"},
      {"/etc/passwd", "_etc_passwd.qvml"},
      {"a:b*c?d", "a_b_c_d.qvml"},
      {"\"q\"<r>|s", "_q__r__s.qvml"},
      {"tab\there", "tab_here.qvml"},
      {"be\x07ll\x1B", "be_ll.qvml"},  // the end trimmed
      {"del\x7F", "del_.qvml"},
      {"next\xC2\x85line", "next_line.qvml"},  // U+0085 in a UTF-8 file
      {"..", "...qvml"},
      {" ../x ", ".._x.qvml"},
  };
  for (const auto& c : cases) {
    const QString name = QString::fromUtf8(c.name);
    EXPECT_EQ(MacroFileBaseName(name) + ".qvml", QString::fromUtf8(c.file)) << c.name;
    MacroEditor = MacroEditorRecord{};
    MacroEditor.Text = "MACRO(" + name + ");\nFAZE;\n";
    EXPECT_TRUE(SaveMacroIfChanged(true)) << c.name;
    EXPECT_TRUE(QFile::exists(MacroFolder() + QString::fromUtf8(c.file))) << c.name;
  }
  // Nothing but macro files, and all of them directly in the macro folder.
  for (const QString& file : filesUnder(root.path()))
    EXPECT_TRUE(file.startsWith("prog/QVML/") && file.count(u'/') == 2) << file.toStdString();
}

TEST_F(HostileNames, ListNamesWithPathsAreIgnoredByLoadAndDelete) {
  const QString outside = root.path() + "/victim.qvml";
  for (const QString& path : {outside, program + "victim.qvml", MacroFolder() + "sub/inner.qvml",
                              MacroFolder() + "ok.qvml"}) {
    QDir().mkpath(QFileInfo(path).path());
    WriteAll(path, "MACRO(Victim);");
  }
  WriteAll(SettingsFilePath(),
           ToCp1251("[QVML]\r\nLastQvmlName=../victim.qvml\r\nn0=../victim.qvml\r\n"
                    "n1=../../victim.qvml\r\nn2=..\\victim.qvml\r\nn3=" +
                    outside + "\r\nn4=sub/inner.qvml\r\nn5=..\r\nn6=.\r\nn7=ok.qvml\r\n"));
  LoadSettings();
  ASSERT_EQ(MacroNameList.Count, 1);
  EXPECT_EQ(MacroNameList.Names[0], "ok.qvml");
  // Select and delete every entry the list holds; only ok.qvml goes.
  const QStringList before = filesUnder(root.path());
  while (MacroNameList.Count > 0) {
    SelectMacroEntry(0);
    DeleteMacro();
  }
  QStringList expected = before;
  expected.removeAll("prog/QVML/ok.qvml");
  EXPECT_EQ(filesUnder(root.path()), expected);
  EXPECT_EQ(ReadAll(outside), "MACRO(Victim);");
}

}  // namespace
