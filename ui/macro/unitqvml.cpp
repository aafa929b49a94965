#include "ui/macro/unitqvml.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "common/folders.h"
#include "common/settings_record.h"
#include "common/text.h"
#include "macro/byte_code.h"
#include "macro/compiler.h"
#include "macro/formatter.h"
#include "macro/listing.h"
#include "macro/store.h"
#include "ui/help/unithelp.h"
#include "ui/macro/macro_editor.h"
#include "ui/macro/rich_text.h"
#include "ui/macro/tool_images.h"
#include "ui/main/modal.h"
#include "ui/main/unavailable.h"

using namespace qv;

namespace {

constexpr int kDesignWidth = 787;
constexpr int kDesignHeight = 395;
constexpr int kToolBarHeight = 30;
constexpr int kToolButtonWidth = 31;
constexpr int kSeparatorWidth = 8;
constexpr int kPanel1Width = 177;
constexpr int kListingWidth = 194;
constexpr int kBottomListHeight = 106;
constexpr int kItemHeight = 16;
const QColor kNavy(0, 0, 128);

// The text box tells the window when a key was let go or the mouse placed
// the caret; both after the box has handled the event itself.
class MacroTextEdit : public QTextEdit {
 public:
  using QTextEdit::QTextEdit;
  std::function<void()> keyUp;
  std::function<void()> mouseDown;

 protected:
  void keyReleaseEvent(QKeyEvent* event) override {
    QTextEdit::keyReleaseEvent(event);
    // A held key repeats its press, but is let go only once.
    if (!event->isAutoRepeat() && keyUp)
      keyUp();
  }
  void mousePressEvent(QMouseEvent* event) override {
    QTextEdit::mousePressEvent(event);
    if (mouseDown)
      mouseDown();
  }
};

struct ToolButtonInfo {
  const char* name;
  const char* hint;  // null for a separator, which has no image either
  ToolImage image;
  void (TFormQvml::*command)();  // null: the button does nothing
};

const ToolButtonInfo kToolButtons[] = {
    {"ToolButton1", "Сохранить в файл", ToolImage::Save, &TFormQvml::N5Click},
    {"ToolButton2", "Распечатать", ToolImage::Print, &TFormQvml::ToolButton2Click},
    {"ToolButton3", nullptr, {}, nullptr},
    {"ToolButton4", "Вверх по списку", ToolImage::Up, &TFormQvml::ToolButton4Click},
    {"ToolButton5", "Вниз по списку", ToolImage::Down, &TFormQvml::ToolButton5Click},
    {"ToolButton6", "Добавить макро", ToolImage::Add, &TFormQvml::ToolButton6Click},
    {"ToolButton7", "Удалить макро", ToolImage::Delete, &TFormQvml::ToolButton7Click},
    {"ToolButton8", nullptr, {}, nullptr},
    {"ToolButton9", "Прочитать из ЗУ", ToolImage::ReadDevice, nullptr},
    {"ToolButton10", "Записать в ЗУ", ToolImage::WriteDevice, nullptr},
    {"ToolButton11", nullptr, {}, nullptr},
    {"ToolButton12", "Помощь", ToolImage::Help, &TFormQvml::QVML1Click},
};

// Reading a macro from the charger and writing one to it: the charger's
// protocol has no frames for either.
const char* const kUnavailableItems[] = {"ToolButton9", "ToolButton10", "N10", "N11"};

struct TemplateItem {
  const char* name;
  MacroTemplateKind kind;
};

const TemplateItem kTemplateItems[] = {
    {"Pb1", MacroTemplateKind::Pb},       {"NiCd1", MacroTemplateKind::NiCd},
    {"NiMh1", MacroTemplateKind::NiMh},   {"LiPo1", MacroTemplateKind::LiPo},
    {"LiIon1", MacroTemplateKind::LiIon}, {"LiFe1", MacroTemplateKind::LiFe},
};

// What the boxes show before the first compilation.
const char* const kSampleInfo[] = {"     Имя: Pb12345", "   Всего: 12", "     CRC: 45",
                                   "    Faza: 2",       "  Cycles: 0",  "  Errors: 0"};
const char* const kSampleHexRow = "01 01 01 01 01 01 01 ";
constexpr int kSampleHexRows = 4;
const char* const kSampleMacroList[] = {"Pb", "NiCa", "NiMh", "LiIon", "LiPo", "LiFe"};

QFont courierFont(bool bold = false) {
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(13);
  font.setBold(bold);
  return font;
}

void fillList(QListWidget* list, const QStringList& items) {
  list->clear();
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, list);
    item->setSizeHint(QSize(list->fontMetrics().horizontalAdvance(text) + 8, kItemHeight));
  }
}

template <size_t N>
QStringList textsOf(const char* const (&texts)[N]) {
  QStringList list;
  for (const char* text : texts)
    list.append(QString::fromUtf8(text));
  return list;
}

void setUpTextBox(QTextEdit* box) {
  box->setFont(courierFont());
  box->setLineWrapMode(QTextEdit::NoWrap);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setAcceptRichText(false);
}

}  // namespace

TFormQvml::TFormQvml(QWidget* parent)
    : ChildWindow(ChildKind::Qvml, parent),
      MainMenu1(new QMenuBar(this)),
      ToolBar1(new QToolBar(this)),
      Panel1(new QWidget(this)),
      ListBox1(new QListWidget(Panel1)),
      ListBox3(new QListWidget(Panel1)),
      Panel2(new QWidget(this)),
      RichEdit1(new MacroTextEdit(Panel2)),
      RichEdit2(new QTextEdit(Panel2)),
      ListBox2(new QListWidget(Panel2)),
      ImageList1(ToolImageList()) {
  setWindowTitle(QStringLiteral("Редактор макросов"));
  const std::pair<QObject*, const char*> parts[] = {
      {MainMenu1, "MainMenu1"}, {Panel1, "Panel1"},     {ListBox1, "ListBox1"},
      {ListBox3, "ListBox3"},   {Panel2, "Panel2"},     {RichEdit1, "RichEdit1"},
      {RichEdit2, "RichEdit2"}, {ListBox2, "ListBox2"},
  };
  for (const auto& [part, name] : parts)
    part->setObjectName(QLatin1String(name));
  QFont tahoma(QStringLiteral("Tahoma"));
  tahoma.setPixelSize(10);
  setFont(tahoma);
  resize(kDesignWidth, kDesignHeight);

  // The store's editor state lives while the window is open.
  MacroEditor = MacroEditorRecord();
  ResetCompiledMacro();
  MacroErrorList.clear();

  buildMenu();
  buildToolBar();
  buildLayout();
  for (const char* name : kUnavailableItems)
    MarkUnavailable(item(name));

  ListBox1->setFont(courierFont(true));
  QPalette navy = ListBox1->palette();
  navy.setColor(QPalette::Text, kNavy);
  ListBox1->setPalette(navy);
  ListBox3->setFont(courierFont());
  setUpTextBox(RichEdit1);
  setUpTextBox(RichEdit2);
  RichEdit2->setReadOnly(true);
  ListBox2->hide();
  showSampleContents();

  auto* text = static_cast<MacroTextEdit*>(RichEdit1);
  text->keyUp = [this] { RichEdit1KeyUp(); };
  text->mouseDown = [this] { RichEdit1MouseDown(); };
  // The selection, not the current row: the list makes its first row current
  // when it merely gets the focus, and that must load nothing.
  connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TFormQvml::ListBox1Click);
  ListBox2->viewport()->installEventFilter(this);
}

QAction* TFormQvml::item(const char* name) const {
  return findChild<QAction*>(QLatin1String(name));
}

QAction* TFormQvml::addItem(QMenu* menu, const char* name, const char* caption) {
  QAction* action = menu->addAction(QString::fromUtf8(caption));
  action->setObjectName(QLatin1String(name));
  return action;
}

void TFormQvml::addSeparator(QMenu* menu, const char* name) {
  menu->addSeparator()->setObjectName(QLatin1String(name));
}

// Items without a command exist with their captions and do nothing.
void TFormQvml::buildMenu() {
  QMenu* file = MainMenu1->addMenu(QStringLiteral("Файл"));
  file->menuAction()->setObjectName(QStringLiteral("N1"));
  QMenu* fresh = file->addMenu(QStringLiteral("Новый"));
  fresh->menuAction()->setObjectName(QStringLiteral("N15"));
  for (const TemplateItem& t : kTemplateItems) {
    QAction* action = addItem(fresh, t.name, MacroTemplateOf(t.kind).caption);
    connect(action, &QAction::triggered, this, [this, kind = t.kind] { Pb1Click(kind); });
  }
  addSeparator(file, "N22");
  addItem(file, "N4", "Открыть");
  connect(addItem(file, "N5", "Сохранить"), &QAction::triggered, this, &TFormQvml::N5Click);
  addSeparator(file, "N9");
  addItem(file, "N10", "Считать из ЗУ");
  addItem(file, "N11", "Записать в ЗУ");
  addSeparator(file, "N7");
  connect(addItem(file, "N8", "Выход"), &QAction::triggered, this, &TFormQvml::N8Click);

  QMenu* edit = MainMenu1->addMenu(QStringLiteral("Правка"));
  edit->menuAction()->setObjectName(QStringLiteral("N3"));
  addItem(edit, "N20", "Вырезать");
  addItem(edit, "N16", "Копировать");
  addItem(edit, "N17", "Вставить");

  QMenu* help = MainMenu1->addMenu(QStringLiteral("Помощь"));
  help->menuAction()->setObjectName(QStringLiteral("N6"));
  QAction* language = addItem(help, "QVML1", "QVML кратко");
  language->setShortcut(QKeySequence(Qt::Key_F1));
  connect(language, &QAction::triggered, this, &TFormQvml::QVML1Click);
}

void TFormQvml::buildToolBar() {
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setFloatable(false);
  ToolBar1->setIconSize(QSize(kToolImageSize, kToolImageSize));
  ToolBar1->setFixedHeight(kToolBarHeight);
  ToolBar1->setContentsMargins(0, 0, 0, 0);
  ToolBar1->layout()->setContentsMargins(0, 0, 0, 0);
  ToolBar1->layout()->setSpacing(0);
  for (const ToolButtonInfo& button : kToolButtons) {
    if (!button.hint) {
      QAction* separator = ToolBar1->addSeparator();
      separator->setObjectName(QLatin1String(button.name));
      ToolBar1->widgetForAction(separator)->setFixedWidth(kSeparatorWidth);
      continue;
    }
    auto* action = new QAction(QIcon(ImageList1[static_cast<int>(button.image)]),
                               QString::fromUtf8(button.hint), this);
    action->setObjectName(QLatin1String(button.name));
    action->setToolTip(action->text());
    if (button.command)
      connect(action, &QAction::triggered, this, button.command);
    ToolBar1->addAction(action);
    ToolBar1->widgetForAction(action)->setFixedSize(kToolButtonWidth, kToolBarHeight);
  }
}

// The window keeps no minimum size of its own: a stored position of any size
// is taken as it is.
void TFormQvml::buildLayout() {
  auto* form = new QVBoxLayout(this);
  form->setSizeConstraint(QLayout::SetNoConstraint);
  form->setContentsMargins(0, 0, 0, 0);
  form->setSpacing(0);
  form->setMenuBar(MainMenu1);
  form->addWidget(ToolBar1);
  auto* body = new QHBoxLayout;
  body->setSpacing(0);
  body->addWidget(Panel1);
  body->addWidget(Panel2, 1);
  form->addLayout(body, 1);

  Panel1->setFixedWidth(kPanel1Width);
  auto* lists = new QVBoxLayout(Panel1);
  lists->setContentsMargins(0, 0, 0, 0);
  lists->setSpacing(0);
  lists->addWidget(ListBox1, 1);
  lists->addWidget(ListBox3);
  ListBox3->setFixedHeight(kBottomListHeight);

  // The error list spans the bottom, the listing stands right of the text.
  auto* boxes = new QGridLayout(Panel2);
  boxes->setContentsMargins(0, 0, 0, 0);
  boxes->setSpacing(0);
  boxes->addWidget(RichEdit1, 0, 0);
  boxes->addWidget(RichEdit2, 0, 1);
  boxes->addWidget(ListBox2, 1, 0, 1, 2);
  boxes->setColumnStretch(0, 1);
  boxes->setRowStretch(0, 1);
  RichEdit2->setFixedWidth(kListingWidth);
  ListBox2->setFixedHeight(kBottomListHeight);
}

void TFormQvml::showSampleContents() {
  fillList(ListBox1, textsOf(kSampleMacroList));
  fillList(ListBox3, textsOf(kSampleInfo));
  QStringList rows;
  for (int i = 0; i < kSampleHexRows; ++i)
    rows.append(QString::fromLatin1(kSampleHexRow));
  RichEdit2->setPlainText(rows.join(u'\n'));
}

void TFormQvml::shown() {
  if (!CurrentMacroName.isEmpty())
    LoadMacroFile(MacroFolder() + CurrentMacroName);
  RefreshMacroList();
  SelectCurrentMacro();
  showEditor();
  RichEdit1->viewport()->update();
}

void TFormQvml::closeEvent(QCloseEvent* event) {
  Timer1->stop();
  takeText();
  // A text that was to be saved but could not be stays open, unless the
  // whole program is ending.
  if (!SaveMacroIfChanged(false) && !ProgramClosing) {
    event->ignore();
    flags().closeRequested = false;
    showEditor();
    Timer1->start();
    return;
  }
  ChildWindow::closeEvent(event);
}

bool TFormQvml::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox2->viewport() && event->type() == QEvent::MouseButtonDblClick)
    ListBox2DblClick();
  return ChildWindow::eventFilter(watched, event);
}

void TFormQvml::N5Click() {
  runCommand([] { SaveMacroIfChanged(true); });
}

void TFormQvml::N8Click() {
  close();
}

void TFormQvml::ToolButton2Click() {
  runCommand([] { SaveMacroIfChanged(false); });
  QPrinter printer;
  printer.setDocName(CurrentMacroName);
  QPrintDialog dialog(&printer, this);
  if (RunModal(dialog) == QDialog::Accepted)
    RichEdit1->document()->print(&printer);
}

void TFormQvml::ToolButton4Click() {
  runCommand(MoveMacroUp);
}

void TFormQvml::ToolButton5Click() {
  runCommand(MoveMacroDown);
}

void TFormQvml::ToolButton6Click() {
  runCommand(AddMacro);
}

void TFormQvml::ToolButton7Click() {
  runCommand(DeleteMacro);
}

void TFormQvml::Pb1Click(MacroTemplateKind kind) {
  runCommand([kind] { NewMacroFromTemplate(kind); });
}

void TFormQvml::QVML1Click() {
  ShowHelp(HelpDocument::QvmlReference);
}

void TFormQvml::ListBox1Click() {
  const QList<QListWidgetItem*> chosen = ListBox1->selectedItems();
  if (chosen.isEmpty())
    return;
  const int row = ListBox1->row(chosen.first());
  runCommand([row] { SelectMacroEntry(row); }, false);
}

void TFormQvml::ListBox2DblClick() {
  ListBox2->hide();
}

void TFormQvml::RichEdit1KeyUp() {
  caretMoved();
  RichEdit1->setFocus();
}

void TFormQvml::RichEdit1MouseDown() {
  caretMoved();
}

// A line of blanks counts as empty: laying the text out would remove the
// line the caret is about to write on.
void TFormQvml::caretMoved() {
  const QTextCursor caret = RichEdit1->textCursor();
  const bool lineChanged = caret.blockNumber() != CaretLine;
  CaretLine = caret.blockNumber();
  CaretColumn = caret.positionInBlock();
  if (lineChanged && !TrimmedText(caret.block().text()).isEmpty())
    formatAndCompile();
}

void TFormQvml::formatAndCompile() {
  const QTextCursor caret = RichEdit1->textCursor();
  const int start = caret.selectionStart();
  const FormattedMacroText formatted =
      FormatMacroText(RichEdit1->toPlainText(), start, caret.selectionEnd() - start);
  putText(formatted.text, formatted.runs, formatted.selectionStart, formatted.selectionLength);
  MacroEditor.Text = formatted.text;
  MacroEditor.Runs = formatted.runs;
  // The layout may have moved the caret's line: the listing marks where it is now.
  CaretLine = RichEdit1->textCursor().blockNumber();
  CompileMacro(MacroEditor.Text);
  showListing();
  showErrors();
}

// One update and one undo step; the view stays where it was unless the
// selection left it.
void TFormQvml::putText(const QString& text, const QList<MacroColourRun>& runs, int selectionStart,
                        int selectionLength) {
  QScrollBar* horizontal = RichEdit1->horizontalScrollBar();
  QScrollBar* vertical = RichEdit1->verticalScrollBar();
  const int left = horizontal->value();
  const int top = vertical->value();
  RichEdit1->setUpdatesEnabled(false);
  QTextDocument& document = *RichEdit1->document();
  if (text.isEmpty()) {
    RichEdit1->clear();
  } else {
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    if (RichEdit1->toPlainText() != text) {
      cursor.select(QTextCursor::Document);
      cursor.insertText(text);
    }
    ApplyColourRuns(document, runs);
    cursor.endEditBlock();
  }
  QTextCursor selection(&document);
  selection.setPosition(selectionStart);
  selection.setPosition(selectionStart + selectionLength, QTextCursor::KeepAnchor);
  RichEdit1->setTextCursor(selection);
  horizontal->setValue(left);
  vertical->setValue(top);
  RichEdit1->ensureCursorVisible();
  RichEdit1->setUpdatesEnabled(true);
}

void TFormQvml::takeText() {
  MacroEditor.Text = RichEdit1->toPlainText();
  MacroEditor.Runs = ColourRunsOf(*RichEdit1->document());
}

void TFormQvml::runCommand(const std::function<void()>& command, bool selectNewFile) {
  takeText();
  const QString file = MacroEditor.LoadedFile;
  const QString saved = MacroEditor.SavedMacroText;
  command();
  if (selectNewFile && (MacroEditor.LoadedFile != file || MacroEditor.SavedMacroText != saved))
    SelectCurrentMacro();
  showEditor();
}

// A text the store replaced is shown from its start.
void TFormQvml::showEditor() {
  if (MacroEditor.Text != RichEdit1->toPlainText()) {
    putText(MacroEditor.Text, MacroEditor.Runs, 0, 0);
    CaretLine = 0;
    CaretColumn = 0;
  }
  showMacroList();
  showListing();
  showErrors();
}

void TFormQvml::showMacroList() {
  QStringList names;
  for (int i = 0; i < MacroNameList.Count; ++i)
    names.append(MacroNameList.Names[i]);
  const QSignalBlocker blocker(ListBox1);
  fillList(ListBox1, names);
  ListBox1->setCurrentRow(MacroEditor.Selected);
  if (MacroEditor.Selected < 0)
    ListBox1->clearSelection();
}

// Every compilation emits the three header bytes: a zero length means
// nothing was compiled yet, and the sample contents stay.
void TFormQvml::showListing() {
  if (CompiledMacro.length == 0)
    return;
  const MacroListing listing = ShowMacroListing(CaretLine);
  fillList(ListBox3, listing.info);
  // Through the document: the box would give the new text the format at its caret.
  RichEdit2->document()->setPlainText(listing.hexRows.join(u'\n'));
  ApplyColourRuns(*RichEdit2->document(), {listing.highlight});
  QTextCursor row(RichEdit2->document());
  row.setPosition(std::min(listing.highlight.start, RichEdit2->document()->characterCount() - 1));
  RichEdit2->setTextCursor(row);
  RichEdit2->ensureCursorVisible();
}

// The list stays up once shown, also after the errors are gone.
void TFormQvml::showErrors() {
  fillList(ListBox2, MacroErrorList);
  if (CompiledMacro.errorCount > 0)
    ListBox2->show();
}

void RegisterMacroEditorWindow() {
  RegisterChildWindow(ChildKind::Qvml, [] { return new TFormQvml; });
}
