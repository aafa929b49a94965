#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/textfile.h"
#include "macro/rtf.h"
#include "macro/store.h"
#include "tests/macro/macro_test_support.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"

using namespace qv;

namespace {

const QString kSaveQuestion = QStringLiteral("Сохранить изменения?");

QString replaceQuestion(const QString& name) {
  return QStringLiteral("Файл ") + name + QStringLiteral(" уже существует. Заменить?");
}

class MacroStore : public ::testing::Test {
 protected:
  void SetUp() override {
    MacroNameList = MacroNameListRecord();
    MacroEditor = MacroEditorRecord();
    CurrentMacroName.clear();
  }

  static QString path(const QString& name) { return MacroFolder() + name; }
  static void put(const QString& name, const QString& text) {
    ASSERT_TRUE(WriteTextFile(path(name), text));
  }
  static QByteArray bytesOf(const QString& name) { return ReadAll(path(name)); }
  static QStringList list() {
    QStringList names;
    for (int i = 0; i < MacroNameList.Count; ++i)
      names.append(MacroNameList.Names[i]);
    return names;
  }
  static void setList(const QStringList& names) {
    MacroNameList = MacroNameListRecord();
    for (const QString& name : names)
      MacroNameList.Names[MacroNameList.Count++] = name;
  }
  static QStringList filesOnDisk() {
    return QDir(MacroFolder()).entryList(QDir::Files, QDir::Name);
  }
  static void edit(const QString& text) { MacroEditor.Text = text; }

  TempProgramFolder folder;
  // The test host's, under the names these tests use.
  QStringList& asked = TestHost().questions;
  QStringList& shown = TestHost().messages;
  QList<bool>& answers = TestHost().answers;
};

TEST(MacroFileNameFromText, NamedAfterTheMacroStatement) {
  const std::pair<const char*, const char*> cases[] = {
      {"MACRO(Lead1);", "Lead1.qvml"},
      {"  macro( Lead1 ) ;", "Lead1.qvml"},
      {"FAZE;", "UNDEF.qvml"},
      {"PAUSE_MACRO(5);\nMACRO(X);", "UNDEF.qvml"},
      {"// MACRO(Old)\n/* MACRO(Older) */ MACRO(New);", "New.qvml"},
      {"MACRO(ABCDEFGHIJKLMNOPQRST);", "ABCDEFGHIJKLMNOP.qvml"},
      {"MACRO(ABCDEFGHIJKLMNO QRS);", "ABCDEFGHIJKLMNO.qvml"},
      {"MACRO();", "UNDEF.qvml"},
      {"MACRO(../../etc/x);", ".._.._etc_x.qvml"},
      {"MACRO(a:b*c?);", "a_b_c_.qvml"},
      {"MACRO(Pb0\nFAZE;", "Pb0.qvml"},
      {"MACRO(Свинец);", "Свинец.qvml"},
  };
  for (const auto& [text, name] : cases) {
    EXPECT_EQ(MacroFileNameFromText(QString::fromUtf8(text)), QString::fromUtf8(name)) << text;
  }
}

TEST_F(MacroStore, SaveWritesRtfNamedAfterTheMacroAndListsIt) {
  edit("MACRO(Lead1);\n   FAZE; // заряд\n");
  EXPECT_TRUE(SaveMacroIfChanged(true));
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_TRUE(IsRtf(bytesOf("Lead1.qvml")));
  EXPECT_EQ(ReadMacroFile(path("Lead1.qvml")), MacroEditor.Text);
  EXPECT_EQ(CurrentMacroName, "Lead1.qvml");
  EXPECT_EQ(MacroEditor.SavedMacroText, MacroEditor.Text);
  EXPECT_EQ(list(), QStringList{"Lead1.qvml"});
}

TEST_F(MacroStore, SaveNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"FAZE;", "UNDEF.qvml"},
      {"MACRO(ABCDEFGHIJKLMNOPQRST);", "ABCDEFGHIJKLMNOP.qvml"},
  };
  for (const auto& [text, name] : cases) {
    edit(text);
    SaveMacroIfChanged(true);
    EXPECT_TRUE(QFile::exists(path(name))) << name;
  }
  EXPECT_EQ(list(), QStringList({"UNDEF.qvml", "ABCDEFGHIJKLMNOP.qvml"}));
}

TEST_F(MacroStore, UnforcedSaveAsksAndNoKeepsEverything) {
  put("Other.qvml", "MACRO(Other);");
  edit("MACRO(Lead1);");
  answers = {false};
  EXPECT_TRUE(SaveMacroIfChanged(false));
  EXPECT_EQ(asked, QStringList{kSaveQuestion});
  EXPECT_FALSE(QFile::exists(path("Lead1.qvml")));
  EXPECT_EQ(MacroNameList.Count, 0);  // not even refreshed
  answers = {true};
  SaveMacroIfChanged(false);
  EXPECT_TRUE(QFile::exists(path("Lead1.qvml")));
}

TEST_F(MacroStore, UnchangedOrBlankTextIsNotSaved) {
  for (const QString& text : {QString(), QStringLiteral("  \n\n ")}) {
    edit(text);
    SaveMacroIfChanged(false);
  }
  edit("MACRO(A);");
  MacroEditor.SavedMacroText = MacroEditor.Text;
  SaveMacroIfChanged(false);
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_TRUE(filesOnDisk().isEmpty());
}

TEST_F(MacroStore, LoadFormatsCompilesAndSelects) {
  put("Pb0.qvml", TemplateText(MacroTemplateKind::Pb));
  put("Alpha.qvml", "MACRO(Alpha);");
  LoadMacroFile(path("Pb0.qvml"));
  EXPECT_EQ(CurrentMacroName, "PB0.QVML");
  EXPECT_EQ(TrimmedLines(MacroEditor.Text).first(), "MACRO(Pb0);");
  EXPECT_EQ(MacroEditor.SavedMacroText, MacroEditor.Text);
  EXPECT_FALSE(MacroEditor.Runs.isEmpty());
  EXPECT_EQ(CompiledMacro.image[1], 21);
  EXPECT_EQ(list(), QStringList({"Alpha.qvml", "Pb0.qvml"}));
  SelectCurrentMacro();
  EXPECT_EQ(MacroEditor.Selected, 1);
  SaveMacroIfChanged(false);
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MacroStore, LoadFindsTheFileInAnyLetterCase) {
  put("Pb0.QVML", "MACRO(Pb0);");
  LoadMacroFile(path("PB0.qvml"));
  EXPECT_EQ(TrimmedLines(MacroEditor.Text), QStringList{"MACRO(Pb0);"});
  EXPECT_EQ(MacroEditor.LoadedFile, "Pb0.QVML");
}

TEST_F(MacroStore, MissingFileLeavesTheEditor) {
  edit("kept");
  setList({"gone.qvml"});
  SelectMacroEntry(0);
  EXPECT_EQ(MacroEditor.Text, "kept");
  LoadMacroFile(path("none.qvml"));
  EXPECT_EQ(MacroEditor.Text, "kept");
  EXPECT_EQ(list(), QStringList{"gone.qvml"});  // a vanished file keeps its entry
}

TEST_F(MacroStore, RefreshAppendsNewFilesInNameOrder) {
  put("b.qvml", "");
  put("a.QVML", "");
  put("c.txt", "");
  setList({"z.qvml", "B.QVML"});
  RefreshMacroList();
  EXPECT_EQ(list(), QStringList({"z.qvml", "B.QVML", "a.QVML"}));
  put("0.qvml", "");
  RefreshMacroList();
  EXPECT_EQ(list(), QStringList({"z.qvml", "B.QVML", "a.QVML", "0.qvml"}));
  EXPECT_TRUE(MacroListContains("A.qvml"));
  EXPECT_FALSE(MacroListContains("c.txt"));
}

TEST_F(MacroStore, RefreshStopsAt98Entries) {
  QStringList names;
  for (int i = 0; i < 97; ++i)
    names.append(QStringLiteral("m%1.qvml").arg(i));
  setList(names);
  put("x.qvml", "");
  put("y.qvml", "");
  RefreshMacroList();
  EXPECT_EQ(MacroNameList.Count, 98);
  EXPECT_EQ(MacroNameList.Names[97], "x.qvml");
}

TEST_F(MacroStore, AddWritesTheNextFreeNameWithItsOwnMacroName) {
  put("NAME0.QVML", "MACRO(NAME0);");
  put("NAME1.QVML", "MACRO(NAME1);");
  AddMacro();
  EXPECT_EQ(bytesOf("NAME2.QVML"),
            "MACRO(NAME2);AKK_TYPE=LiFe;DISCHARGE_SECTION;FAZE;END_FAZE;CHARGE_SECTION;FAZE;"
            "END_FAZE;END_SECTION;END_MACRO;");
  EXPECT_EQ(CurrentMacroName, "NAME2.QVML");
  EXPECT_EQ(CompiledMacro.errorCount, 0);
  EXPECT_EQ(list(), QStringList({"NAME0.QVML", "NAME1.QVML", "NAME2.QVML"}));
}

TEST_F(MacroStore, AddGoesPastNine) {
  for (int i = 0; i < 10; ++i)
    put(QString(i == 5 ? "name%1.qvml" : "NAME%1.QVML").arg(i), "");
  AddMacro();
  EXPECT_TRUE(QFile::exists(path("NAME10.QVML")));
  AddMacro();
  EXPECT_TRUE(QFile::exists(path("NAME11.QVML")));
}

// With MACRO(NAME0) left in the new file, its first save would replace NAME0.
TEST_F(MacroStore, SavingAnAddedMacroKeepsToItsFile) {
  put("NAME0.QVML", "MACRO(NAME0);FAZE;");
  const QByteArray other = bytesOf("NAME0.QVML");
  AddMacro();
  edit(MacroEditor.Text + "FAZE;\n");
  SaveMacroIfChanged(true);
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_EQ(bytesOf("NAME0.QVML"), other);
  EXPECT_TRUE(IsRtf(bytesOf("NAME1.QVML")));
  EXPECT_EQ(filesOnDisk(), QStringList({"NAME0.QVML", "NAME1.QVML"}));  // no second NAME1.qvml
}

TEST_F(MacroStore, NewFromTemplateWritesAndLoadsIt) {
  NewMacroFromTemplate(MacroTemplateKind::LiIon);
  EXPECT_EQ(bytesOf("LiIon0.QVML"), TemplateText(MacroTemplateKind::LiIon).toLatin1());
  EXPECT_EQ(CurrentMacroName, "LIION0.QVML");
  EXPECT_EQ(TrimmedLines(MacroEditor.Text).first(), "MACRO(LiIon0);");
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MacroStore, NewFromTemplateAsksBeforeReplacing) {
  put("Pb0.qvml", "MACRO(Pb0);// mine");
  edit("unchanged editor");
  MacroEditor.SavedMacroText = MacroEditor.Text;
  answers = {false};
  NewMacroFromTemplate(MacroTemplateKind::Pb);
  EXPECT_EQ(asked, QStringList{replaceQuestion("Pb0.QVML")});
  EXPECT_EQ(bytesOf("Pb0.qvml"), "MACRO(Pb0);// mine");
  EXPECT_EQ(MacroEditor.Text, "unchanged editor");
  answers = {true};
  NewMacroFromTemplate(MacroTemplateKind::Pb);
  EXPECT_EQ(bytesOf("Pb0.qvml"), TemplateText(MacroTemplateKind::Pb).toLatin1());
  EXPECT_EQ(filesOnDisk(), QStringList{"Pb0.qvml"});
}

TEST_F(MacroStore, UnsavedEditsOfferedBeforeTemplateOrAdd) {
  edit("MACRO(Draft);");
  answers = {true};
  NewMacroFromTemplate(MacroTemplateKind::NiCd);
  EXPECT_EQ(asked, QStringList{kSaveQuestion});
  EXPECT_TRUE(QFile::exists(path("Draft.qvml")));
  edit("MACRO(Draft2);");
  asked.clear();
  answers = {false};
  AddMacro();
  EXPECT_EQ(asked, QStringList{kSaveQuestion});
  EXPECT_FALSE(QFile::exists(path("Draft2.qvml")));
  EXPECT_TRUE(QFile::exists(path("NAME0.QVML")));
}

TEST_F(MacroStore, SaveAsksBeforeReplacingAnotherMacrosFile) {
  put("Other.qvml", "MACRO(Other);");
  NewMacroFromTemplate(MacroTemplateKind::Pb);
  edit(MacroEditor.Text.replace("MACRO(Pb0)", "MACRO(Other)"));
  const QString edited = MacroEditor.Text;
  answers = {false};
  EXPECT_FALSE(SaveMacroIfChanged(true));
  EXPECT_EQ(asked, QStringList{replaceQuestion("Other.qvml")});
  EXPECT_EQ(bytesOf("Other.qvml"), "MACRO(Other);");
  EXPECT_NE(MacroEditor.SavedMacroText, edited);  // still unsaved
  answers = {true};
  EXPECT_TRUE(SaveMacroIfChanged(true));
  EXPECT_EQ(ReadMacroFile(path("Other.qvml")), edited);
  // Saving again goes to the same file without a question.
  asked.clear();
  edit(edited + "FAZE;\n");
  SaveMacroIfChanged(true);
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MacroStore, SwitchingEntriesAsksAboutEdits) {
  put("A.qvml", "MACRO(A);");
  put("B.qvml", "MACRO(B);");
  RefreshMacroList();
  SelectMacroEntry(0);
  const QByteArray savedA = bytesOf("A.qvml");
  edit(MacroEditor.Text + "FAZE;\n");
  answers = {false};
  SelectMacroEntry(1);
  EXPECT_EQ(asked, QStringList{kSaveQuestion});
  EXPECT_EQ(bytesOf("A.qvml"), savedA);  // edits discarded
  EXPECT_EQ(CurrentMacroName, "B.QVML");
  EXPECT_EQ(MacroEditor.Selected, 1);
  edit(MacroEditor.Text + "FAZE;\n");
  const QString editedB = MacroEditor.Text;
  answers = {true};
  SelectMacroEntry(0);
  EXPECT_EQ(ReadMacroFile(path("B.qvml")), editedB);
  EXPECT_EQ(CurrentMacroName, "A.QVML");
}

TEST_F(MacroStore, RefusedReplaceKeepsTheEditsAndTheEntry) {
  put("A.qvml", "MACRO(A);");
  put("B.qvml", "MACRO(B);");
  RefreshMacroList();
  SelectMacroEntry(0);
  edit("MACRO(B);FAZE;");
  answers = {true, false};  // save: yes; replace B: no
  SelectMacroEntry(1);
  EXPECT_EQ(MacroEditor.Text, "MACRO(B);FAZE;");
  EXPECT_EQ(MacroEditor.Selected, 0);
  EXPECT_EQ(bytesOf("B.qvml"), "MACRO(B);");
}

TEST_F(MacroStore, DeleteAsksThenRemovesEntryAndFile) {
  put("A.qvml", "MACRO(A);");
  put("B.qvml", "MACRO(Bee);");
  RefreshMacroList();
  DeleteMacro();  // nothing selected
  EXPECT_TRUE(asked.isEmpty());
  SelectMacroEntry(1);
  answers = {false};
  DeleteMacro();
  EXPECT_EQ(asked, QStringList{"Удалить B.qvml?"});  // the file that goes, not BEE.QVML
  EXPECT_TRUE(QFile::exists(path("B.qvml")));
  answers = {true};
  DeleteMacro();
  EXPECT_FALSE(QFile::exists(path("B.qvml")));
  EXPECT_EQ(list(), QStringList{"A.qvml"});
  EXPECT_EQ(MacroNameList.Names[1], QString());
  EXPECT_EQ(MacroEditor.Selected, -1);
  EXPECT_TRUE(MacroEditor.Text.isEmpty());
  EXPECT_TRUE(MacroEditor.SavedMacroText.isEmpty());
  EXPECT_TRUE(CurrentMacroName.isEmpty());
  EXPECT_EQ(ImageText(), "03 00 D4");
}

TEST_F(MacroStore, MoveUpAndDown) {
  setList({"a", "b", "c"});
  MacroEditor.Selected = 1;
  MoveMacroUp();
  EXPECT_EQ(list(), QStringList({"b", "a", "c"}));
  EXPECT_EQ(MacroEditor.Selected, 0);
  MoveMacroUp();
  EXPECT_EQ(list(), QStringList({"b", "a", "c"}));
  MacroEditor.Selected = 2;
  MoveMacroDown();
  EXPECT_EQ(list(), QStringList({"b", "a", "c"}));
  MacroEditor.Selected = 0;
  MoveMacroDown();
  EXPECT_EQ(list(), QStringList({"a", "b", "c"}));
  EXPECT_EQ(MacroEditor.Selected, 1);
  MacroEditor.Selected = -1;
  MoveMacroDown();
  MoveMacroUp();
  EXPECT_EQ(list(), QStringList({"a", "b", "c"}));
}

TEST_F(MacroStore, FailedSaveIsReportedAndTheTextStaysUnsaved) {
  ASSERT_TRUE(QDir(MacroFolder()).removeRecursively());
  edit("MACRO(Lead1);");
  EXPECT_FALSE(SaveMacroIfChanged(true));
  EXPECT_EQ(shown, QStringList{"Не удалось записать файл Lead1.qvml."});
  EXPECT_TRUE(MacroEditor.SavedMacroText.isEmpty());
  AddMacro();  // cannot write either: the editor stays as it was
  EXPECT_EQ(MacroEditor.Text, "MACRO(Lead1);");
}

}  // namespace
