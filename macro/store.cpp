#include "macro/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <utility>

#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/text.h"
#include "common/textfile.h"
#include "macro/compiler.h"
#include "macro/file_name.h"
#include "macro/formatter.h"
#include "macro/rtf.h"

namespace qv {

MacroEditorRecord MacroEditor;

namespace {

// Refresh appends found files while the list holds fewer than this.
constexpr int kRefreshLimit = 98;

const QString kUndefinedFile = QStringLiteral("UNDEF.qvml");

bool askToReplace(const QString& name) {
  return AskYesNo(QStringLiteral("Файл ") + name + QStringLiteral(" уже существует. Заменить?"));
}

QStringList macroFilesIn(const QString& folder) {
  return QDir(folder).entryList({QStringLiteral("*.qvml")},
                                QDir::Files | QDir::Hidden | QDir::System,
                                QDir::Name | QDir::IgnoreCase);
}

// The editor shows the formatted text, compiled.
void showText(const QString& text) {
  const FormattedMacroText formatted = FormatMacroText(text);
  MacroEditor.Text = formatted.text;
  MacroEditor.Runs = formatted.runs;
  CompileMacro(MacroEditor.Text);
}

QString nextFreeAddName() {
  QSet<QString> taken;
  for (const QString& name : macroFilesIn(MacroFolder()))
    taken.insert(name.toUpper());
  for (int k = 0;; ++k) {
    const QString name = QStringLiteral("NAME%1.QVML").arg(k);
    if (!taken.contains(name))
      return name;
  }
}

// Writes a new macro file and opens it; a file that cannot be written leaves
// the editor as it was.
void writeAndLoad(const QString& name, const QString& text) {
  if (WriteTextFile(MacroFolder() + name, text)) {
    LoadMacroFile(MacroFolder() + name);
  } else {
    RefreshMacroList();
  }
}

}  // namespace

QString MacroFileNameFromText(const QString& text) {
  const QString code = StripComments(text);
  const QString opening = QStringLiteral("MACRO(");
  const qsizetype at = code.indexOf(opening, 0, Qt::CaseInsensitive);
  if (at < 0 || (at > 0 && code[at - 1] == u'_'))
    return kUndefinedFile;
  const QString rest = code.mid(at + opening.size()).section(u'\n', 0, 0);
  return MacroFileBaseName(rest.section(u')', 0, 0)) + QStringLiteral(".qvml");
}

QString ExistingMacroFile(const QString& folder, const QString& name) {
  if (name.isEmpty())
    return {};
  if (QFileInfo(folder + name).isFile())
    return name;
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0)
      return entry;
  }
  return {};
}

QString ReadMacroFile(const QString& path, bool* ok) {
  QFile file(path);
  const bool opened = file.open(QIODevice::ReadOnly);
  if (ok)
    *ok = opened;
  return opened ? DecodeMacroFile(file.readAll()) : QString();
}

bool SaveMacroIfChanged(bool forced) {
  MacroEditorRecord& editor = MacroEditor;
  const bool changed = !TrimmedText(editor.Text).isEmpty() && editor.Text != editor.SavedMacroText;
  if (changed) {
    if (!forced && !AskYesNo(QStringLiteral("Сохранить изменения?")))
      return true;
    const QString name = MacroFileNameFromText(editor.Text);
    const QString existing = ExistingMacroFile(MacroFolder(), name);
    const bool otherFile =
        !existing.isEmpty() && existing.compare(editor.LoadedFile, Qt::CaseInsensitive) != 0;
    if (otherFile && !askToReplace(name))
      return false;
    const QString target = existing.isEmpty() ? name : existing;
    if (!WriteFileSafely(MacroFolder() + target, MacroTextToRtf(editor.Text, editor.Runs))) {
      ShowMessage(CannotWriteFileText(name) + u'.');
      return false;
    }
    CurrentMacroName = name;
    editor.SavedMacroText = editor.Text;
    editor.LoadedFile = target;
  }
  RefreshMacroList();
  return true;
}

void LoadMacroFile(const QString& path) {
  const QFileInfo info(path);
  const QString folder = info.path() + u'/';
  const QString found = ExistingMacroFile(folder, info.fileName());
  bool read = false;
  const QString text = found.isEmpty() ? QString() : ReadMacroFile(folder + found, &read);
  if (read) {
    CurrentMacroName = info.fileName();
    showText(text);
    MacroEditor.SavedMacroText = MacroEditor.Text;
    MacroEditor.LoadedFile = found;
  }
  RefreshMacroList();
}

void RefreshMacroList() {
  for (const QString& name : macroFilesIn(MacroFolder())) {
    if (MacroNameList.Count >= kRefreshLimit)
      break;
    if (!MacroListContains(name))
      MacroNameList.Names[MacroNameList.Count++] = name;
  }
  if (MacroEditor.Selected >= MacroNameList.Count)
    MacroEditor.Selected = -1;
}

bool MacroListContains(const QString& name) {
  const QString upper = name.toUpper();
  for (int i = 0; i < MacroNameList.Count; ++i) {
    if (MacroNameList.Names[i].toUpper() == upper)
      return true;
  }
  return false;
}

void SelectCurrentMacro() {
  MacroEditor.Selected = -1;
  const QString upper = CurrentMacroName.toUpper();
  for (int i = 0; i < MacroNameList.Count; ++i) {
    if (MacroNameList.Names[i].toUpper() == upper) {
      MacroEditor.Selected = i;
      return;
    }
  }
}

// Unsaved edits are offered for saving first, as when another entry is
// selected, instead of being replaced without a word.
void NewMacroFromTemplate(MacroTemplateKind kind) {
  if (!SaveMacroIfChanged(false))
    return;
  const MacroTemplate& macroTemplate = MacroTemplateOf(kind);
  const QString name = QString::fromLatin1(macroTemplate.fileName);
  const QString existing = ExistingMacroFile(MacroFolder(), name);
  if (!existing.isEmpty() && !askToReplace(name))
    return;
  writeAndLoad(existing.isEmpty() ? name : existing, QString::fromLatin1(macroTemplate.text));
}

// The new file's MACRO( ) statement names the file itself, so that its first
// save does not go to NAME0.qvml.
void AddMacro() {
  if (!SaveMacroIfChanged(false))
    return;
  CurrentMacroName = nextFreeAddName();
  const QString baseName = CurrentMacroName.section(u'.', 0, 0);
  const QString text =
      ReplaceFirst(QString::fromLatin1(MacroTemplateOf(MacroTemplateKind::Name0).text),
                   QStringLiteral("MACRO(NAME0)"), QStringLiteral("MACRO(") + baseName + u')');
  writeAndLoad(CurrentMacroName, text);
}

// The question names the entry that is deleted, which may differ from the
// macro name the text last compiled to.
void DeleteMacro() {
  MacroEditorRecord& editor = MacroEditor;
  const int index = editor.Selected;
  if (index < 0 || index >= MacroNameList.Count)
    return;
  const QString name = MacroNameList.Names[index];
  if (!AskYesNo(QStringLiteral("Удалить ") + name + u'?'))
    return;
  for (int i = index; i + 1 < MacroNameList.Count; ++i) {
    MacroNameList.Names[i] = MacroNameList.Names[i + 1];
  }
  MacroNameList.Names[--MacroNameList.Count].clear();
  const QString file = ExistingMacroFile(MacroFolder(), name);
  if (!file.isEmpty() && !QFile::remove(MacroFolder() + file)) {
    ShowMessage(QStringLiteral("Не удалось удалить файл ") + file + u'.');
  }
  editor.Selected = -1;
  editor.SavedMacroText.clear();
  editor.LoadedFile.clear();
  CurrentMacroName.clear();
  showText(QString());
  RefreshMacroList();
}

void MoveMacroUp() {
  const int i = MacroEditor.Selected;
  if (i < 1 || i >= MacroNameList.Count)
    return;
  std::swap(MacroNameList.Names[i], MacroNameList.Names[i - 1]);
  MacroEditor.Selected = i - 1;
}

void MoveMacroDown() {
  const int i = MacroEditor.Selected;
  if (i < 0 || i + 1 >= MacroNameList.Count)
    return;
  std::swap(MacroNameList.Names[i], MacroNameList.Names[i + 1]);
  MacroEditor.Selected = i + 1;
}

void SelectMacroEntry(int index) {
  const int previous = MacroEditor.Selected;
  MacroEditor.Selected = index >= 0 && index < MacroNameList.Count ? index : -1;
  if (!SaveMacroIfChanged(false)) {
    MacroEditor.Selected = previous;  // the unsaved text stays, with its entry
    return;
  }
  if (MacroEditor.Selected >= 0) {
    LoadMacroFile(MacroFolder() + MacroNameList.Names[MacroEditor.Selected]);
  }
}

}  // namespace qv
