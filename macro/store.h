#pragma once

#include <QList>
#include <QString>

#include "macro/colours.h"
#include "macro/templates.h"

namespace qv {

// The macro files in MacroFolder and the ordered MacroNameList, behind the
// editor's commands. The editor window copies its text (and colouring) into
// MacroEditor before a command and shows MacroEditor, MacroNameList and the
// listing afterwards. File names are compared and looked up without regard
// to letter case, also on file systems that keep it. Every question goes
// through AskYesNo.

struct MacroEditorRecord {
  QString Text;                // the macro text, lines separated by '\n'
  QList<MacroColourRun> Runs;  // its colouring, saved with it as RTF
  int Selected = -1;           // the selected entry of MacroNameList, -1 for none
  QString SavedMacroText;      // Text as last loaded or saved
  QString LoadedFile;          // file in MacroFolder that Text was last loaded from or saved to
};

extern MacroEditorRecord MacroEditor;

// The file a text is saved to: named after its MACRO( ) statement (outside
// comments, any letter case), or "UNDEF.qvml".
QString MacroFileNameFromText(const QString& text);

// The name of the file in the folder that matches name in any letter case, or
// empty when there is none.
QString ExistingMacroFile(const QString& folder, const QString& name);
// The text of a macro file, RTF or plain; empty with *ok false when unreadable.
QString ReadMacroFile(const QString& path, bool* ok = nullptr);

// Saves a changed text as RTF, asking first unless forced, and asking before
// replacing a file other than the one the text came from. False when the text
// was to be saved but was not (a replace refused or the write failed): the
// caller then keeps it in the editor.
bool SaveMacroIfChanged(bool forced);
void LoadMacroFile(const QString& path);
void RefreshMacroList();
bool MacroListContains(const QString& name);
void SelectCurrentMacro();

// The editor's commands.
void NewMacroFromTemplate(MacroTemplateKind kind);
void AddMacro();
void DeleteMacro();
void MoveMacroUp();
void MoveMacroDown();
void SelectMacroEntry(int index);

}  // namespace qv
