#pragma once

#include <QList>
#include <QPixmap>
#include <functional>

#include "macro/colours.h"
#include "macro/templates.h"
#include "ui/main/child_window.h"

class QAction;
class QListWidget;
class QMenu;
class QMenuBar;
class QTextEdit;
class QToolBar;

// The macro editor: the macro list, the info list, the macro text with its
// colouring, the hex listing and, after errors, the error list, with the
// macro store's commands on a toolbar and a menu. The text is laid out and
// compiled whenever the caret moves to another line that is not empty.
class TFormQvml : public ChildWindow {
  Q_OBJECT

  // The window's parts, found by these names (object names) from outside.
  QMenuBar* const MainMenu1;
  QToolBar* const ToolBar1;
  QWidget* const Panel1;
  QListWidget* const ListBox1;  // the macro list
  QListWidget* const ListBox3;  // the info list
  QWidget* const Panel2;
  QTextEdit* const RichEdit1;   // the macro text
  QTextEdit* const RichEdit2;   // the hex listing
  QListWidget* const ListBox2;  // the error list
  const QList<QPixmap> ImageList1;

 public:
  explicit TFormQvml(QWidget* parent = nullptr);

  // A menu item or tool button by its name ("N5", "ToolButton6").
  QAction* item(const char* name) const;

  // The caret's line and column as the last key release or click left them.
  int CaretLine = 0;
  int CaretColumn = 0;

  void N5Click();                             // save, without asking
  void N8Click();                             // close
  void ToolButton2Click();                    // print
  void ToolButton4Click();                    // move up
  void ToolButton5Click();                    // move down
  void ToolButton6Click();                    // add
  void ToolButton7Click();                    // delete
  void Pb1Click(qv::MacroTemplateKind kind);  // new from a template
  void QVML1Click();                          // the macro language reference
  void ListBox1Click();
  void ListBox2DblClick();
  void RichEdit1KeyUp();
  void RichEdit1MouseDown();

 protected:
  void shown() override;                         // FormShow
  void closeEvent(QCloseEvent* event) override;  // FormClose
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  void buildToolBar();
  void buildLayout();
  void showSampleContents();
  QAction* addItem(QMenu* menu, const char* name, const char* caption);
  void addSeparator(QMenu* menu, const char* name);

  void caretMoved();
  void formatAndCompile();
  void putText(const QString& text, const QList<qv::MacroColourRun>& runs, int selectionStart,
               int selectionLength);
  // The editor's text and colouring into the store before one of its commands.
  void takeText();
  // A store command, and the editor brought up to date after it; a command
  // that saved or opened another file selects its entry.
  void runCommand(const std::function<void()>& command, bool selectNewFile = true);
  void showEditor();
  void showMacroList();
  void showListing();
  void showErrors();
};
