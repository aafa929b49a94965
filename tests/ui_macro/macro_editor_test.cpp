#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest/QTest>

#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "common/textfile.h"
#include "macro/byte_code.h"
#include "macro/colours.h"
#include "macro/formatter.h"
#include "macro/listing.h"
#include "macro/rtf.h"
#include "macro/templates.h"
#include "tests/support/children.h"
#include "tests/support/pixels.h"
#include "tests/support/screenshot.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"
#include "tests/support/window_management.h"
#include "ui/help/unithelp.h"
#include "ui/macro/macro_editor.h"
#include "ui/macro/rich_text.h"
#include "ui/macro/unitqvml.h"
#include "ui/main/child_window.h"
#include "ui/main/fonts.h"
#include "ui/main/modal.h"
#include "ui/main/unavailable.h"

using namespace qv;

namespace {

const QString kSaveQuestion = QStringLiteral("Сохранить изменения?");
const QString kEditorPosition = QStringLiteral("10,20,787,420");

QString templateText(MacroTemplateKind kind) {
  return QString::fromLatin1(MacroTemplateOf(kind).text);
}

ChildWindowFlagsRecord& editorFlags() {
  return ChildWindowFlags[static_cast<int>(ChildKind::Qvml)];
}

QStringList itemsOf(const QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i)
    items.append(list->item(i)->text());
  return items;
}

QTextCharFormat formatAt(const QTextEdit* box, int line, int column) {
  QTextCursor cursor(box->document()->findBlockByNumber(line));
  cursor.setPosition(cursor.position() + column + 1);  // the format of the character before
  return cursor.charFormat();
}

QColor backgroundAt(const QTextEdit* box, int line, int column = 0) {
  return formatAt(box, line, column).background().color();
}

class MacroEditorWindow : public ::testing::Test {
 protected:
  MacroEditorWindow() {
    InstallFontSubstitutions();
    ResetWindowManagement();
    MacroNameList = MacroNameListRecord();
    CurrentMacroName.clear();
    Settings.QvmlPos = kEditorPosition;
    SetModalRunner([this](QDialog& dialog) { return answerDialog(dialog); });
    RegisterMacroEditorWindow();
  }
  ~MacroEditorWindow() override {
    answers.clear();
    if (form) {
      form->close();
      delete form.data();
    }
    RegisterChildWindow(ChildKind::Qvml, {});
    SetModalRunner({});
    ProgramClosing = false;
  }

  // As the main window's menu item opens it.
  void open() {
    ToggleChildWindow(ChildKind::Qvml);
    form = qobject_cast<TFormQvml*>(ChildWindowInstance(ChildKind::Qvml));
    ASSERT_TRUE(form);
  }
  void openWith(const QString& name, const QString& text) {
    put(name, text);
    CurrentMacroName = name;
    open();
  }
  static void put(const QString& name, const QString& text) {
    ASSERT_TRUE(WriteTextFile(MacroFolder() + name, text));
  }
  static QString fileText(const QString& name) {
    return DecodeMacroFile(ReadAll(MacroFolder() + name));
  }

  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(richEdit1(), static_cast<Qt::Key>(key), modifiers);
  }
  void type(const QString& text) { QTest::keyClicks(richEdit1(), text); }
  // To the empty line after the last statement and type there.
  void typeAtTheEnd(const QString& text) {
    key(Qt::Key_End, Qt::ControlModifier);
    type(text);
  }
  void clickLine(int line) {
    QTextCursor cursor(richEdit1()->document()->findBlockByNumber(line));
    const QPoint at = richEdit1()->cursorRect(cursor).center() + QPoint(2, 0);
    QTest::mouseClick(richEdit1()->viewport(), Qt::LeftButton, {}, at);
  }
  QString line(int k) const { return richEdit1()->document()->findBlockByNumber(k).text(); }
  QString info(int k) const { return listBox3()->item(k)->text(); }
  // The one row of the hex view shown on light red, or -1.
  int highlightedRow() const {
    QList<int> rows;
    for (int row = 0; row < richEdit2()->document()->blockCount(); ++row) {
      if (backgroundAt(richEdit2(), row) == ToQColor(kLightRed))
        rows.append(row);
    }
    return rows.size() == 1 ? rows.front() : -1;
  }

  TempProgramFolder folder;
  QPointer<TFormQvml> form;

  // The editor's parts, by their names.
  QListWidget* listBox1() const { return Child<QListWidget>(form.data(), "ListBox1"); }
  QListWidget* listBox2() const { return Child<QListWidget>(form.data(), "ListBox2"); }
  QListWidget* listBox3() const { return Child<QListWidget>(form.data(), "ListBox3"); }
  QTextEdit* richEdit1() const { return Child<QTextEdit>(form.data(), "RichEdit1"); }
  QTextEdit* richEdit2() const { return Child<QTextEdit>(form.data(), "RichEdit2"); }
  QToolBar* toolBar1() const { return Child<QToolBar>(form.data(), "ToolBar1"); }
  QTimer* timer1() const { return Child<QTimer>(form.data(), "Timer1"); }
  // The test host's, under the names these tests use.
  QStringList& asked = TestHost().questions;
  QStringList& shown = TestHost().messages;
  QList<bool>& answers = TestHost().answers;
  std::function<int(QDialog&)> answerDialog = [](QDialog&) {
    return static_cast<int>(QDialog::Rejected);
  };
};

TEST_F(MacroEditorWindow, TakesItsStoredPositionAndStoresItOnClose) {
  const std::pair<QString, QRect> cases[] = {
      {QStringLiteral("100, 100, 100, 100"), QRect(100, 100, 100, 100)},
      {QStringLiteral("20,30,600,400"), QRect(20, 30, 600, 400)},
  };
  for (const auto& [text, rect] : cases) {
    Settings.QvmlPos = text;
    open();
    EXPECT_EQ(form->geometry(), rect) << text.toStdString();  // the client area
    form->setGeometry(55, 66, 700, 380);
    form->close();
    EXPECT_EQ(Settings.QvmlPos, QStringLiteral("55,66,700,380"));
    EXPECT_FALSE(editorFlags().open);
    delete form.data();
  }
}

TEST_F(MacroEditorWindow, OpensTheCurrentMacroLaidOutColouredAndCompiled) {
  put(QStringLiteral("Other.qvml"), templateText(MacroTemplateKind::Name0));
  MacroNameList.Names[MacroNameList.Count++] = QStringLiteral("Gone.qvml");
  openWith(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));

  EXPECT_EQ(richEdit1()->toPlainText(), FormatMacroText(templateText(MacroTemplateKind::Pb)).text);
  EXPECT_EQ(itemsOf(listBox1()), (QStringList{"Gone.qvml", "Other.qvml", "Pb0.qvml"}));
  EXPECT_EQ(listBox1()->currentRow(), 2);
  EXPECT_EQ(info(0), QStringLiteral("   Имя: PB0.QVML"));
  EXPECT_EQ(richEdit2()->toPlainText(), ShowMacroListing(0).hexRows.join(u'\n'));
  EXPECT_EQ(highlightedRow(), 0);
  EXPECT_FALSE(listBox2()->isVisible());

  // MACRO(Pb0); / AKK_TYPE = Pb; / DISCHARGE_SECTION; / FAZE; ...
  const QTextEdit* text = richEdit1();
  EXPECT_EQ(backgroundAt(text, 0), ToQColor(kLightRed));
  EXPECT_EQ(backgroundAt(text, 2), ToQColor(kLightGreen));
  EXPECT_EQ(backgroundAt(text, 4), ToQColor(kSkyBlue));
  ASSERT_TRUE(line(1).startsWith(QStringLiteral("   AKK_TYPE = Pb;")));
  EXPECT_EQ(formatAt(text, 1, 3).foreground().color(), ToQColor(kPurple));
  EXPECT_EQ(formatAt(text, 1, 14).foreground().color(), ToQColor(kBlue));
  EXPECT_EQ(formatAt(text, 1, 3).fontWeight(), QFont::Bold);
}

TEST_F(MacroEditorWindow, WithNothingToOpenTheSampleListingStays) {
  put(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));
  CurrentMacroName = QStringLiteral("Missing.qvml");
  open();
  EXPECT_TRUE(richEdit1()->toPlainText().isEmpty());
  EXPECT_EQ(info(0), QStringLiteral("     Имя: Pb12345"));
  EXPECT_EQ(richEdit2()->document()->blockCount(), 4);
  EXPECT_EQ(itemsOf(listBox1()), QStringList{"Pb0.qvml"});
  EXPECT_EQ(listBox1()->currentRow(), -1);
}

TEST_F(MacroEditorWindow, TypingWithinALineOrOntoAnEmptyOneNeitherFormatsNorCompiles) {
  openWith(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));
  const int last = richEdit1()->document()->blockCount() - 1;  // the empty line
  typeAtTheEnd(QStringLiteral("CYCLE(3);"));
  key(Qt::Key_Return);
  EXPECT_EQ(line(last), QStringLiteral("CYCLE(3);"));
  EXPECT_EQ(info(4), QStringLiteral("Cycles: 0"));

  key(Qt::Key_Up);  // back onto the filled line
  EXPECT_EQ(line(last), QStringLiteral("   CYCLE(3);").leftJustified(50));
  EXPECT_EQ(richEdit1()->document()->blockCount(),
            last + 2);  // the empty line is gone
  EXPECT_EQ(info(4), QStringLiteral("Cycles: 1"));
  EXPECT_EQ(form->CaretLine, last);
  EXPECT_EQ(highlightedRow(), last);
}

TEST_F(MacroEditorWindow, ArrowKeysAndClicksOntoAnotherLineMoveTheHighlightedRow) {
  openWith(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));
  key(Qt::Key_Down);
  EXPECT_EQ(highlightedRow(), 1);
  clickLine(4);
  EXPECT_EQ(form->CaretLine, 4);
  EXPECT_EQ(highlightedRow(), 4);
  // Within the line nothing changes.
  key(Qt::Key_Right);
  EXPECT_EQ(highlightedRow(), 4);

  // A held key: only letting it go at last counts.
  const auto send = [this](QEvent::Type type, bool repeated) {
    QKeyEvent event(type, Qt::Key_Down, Qt::NoModifier, QString(), repeated);
    QApplication::sendEvent(richEdit1(), &event);
  };
  send(QEvent::KeyPress, false);
  send(QEvent::KeyRelease, true);
  send(QEvent::KeyPress, true);
  send(QEvent::KeyRelease, true);
  EXPECT_EQ(highlightedRow(), 4);
  send(QEvent::KeyPress, true);
  send(QEvent::KeyRelease, false);
  EXPECT_EQ(highlightedRow(), 7);
}

TEST_F(MacroEditorWindow, ErrorListAppearsAndStaysUntilDoubleClicked) {
  openWith(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));
  const int last = richEdit1()->document()->blockCount() - 1;
  typeAtTheEnd(QStringLiteral("BOGUS;"));
  EXPECT_FALSE(listBox2()->isVisible());
  key(Qt::Key_Up);
  EXPECT_TRUE(listBox2()->isVisible());
  EXPECT_EQ(itemsOf(listBox2()),
            QStringList{
                QStringLiteral("Ошибка в строке: %1. Название команды не определено.").arg(last)});
  EXPECT_EQ(info(5), QStringLiteral("Errors: 1"));

  // Remove the faulty line and compile again.
  key(Qt::Key_Down);
  key(Qt::Key_Home);
  key(Qt::Key_End, Qt::ShiftModifier);
  key(Qt::Key_Delete);
  key(Qt::Key_Up);
  EXPECT_EQ(info(5), QStringLiteral("Errors: 0"));
  EXPECT_TRUE(listBox2()->isVisible());
  EXPECT_EQ(listBox2()->count(), 0);

  QTest::mouseDClick(listBox2()->viewport(), Qt::LeftButton);
  EXPECT_FALSE(listBox2()->isVisible());
}

TEST_F(MacroEditorWindow, ClosingAsksToSaveAChangedText) {
  struct Case {
    bool edit;
    bool answer;
    QStringList questions;
    bool saved;
  };
  const Case cases[] = {
      {true, true, {kSaveQuestion}, true},
      {true, false, {kSaveQuestion}, false},
      {false, true, {}, false},
  };
  const QString original = templateText(MacroTemplateKind::Pb);
  for (const Case& c : cases) {
    asked.clear();
    answers = {c.answer};
    openWith(QStringLiteral("Pb0.qvml"), original);
    if (c.edit)
      typeAtTheEnd(QStringLiteral("MUSIC(CLICK);"));
    form->close();
    EXPECT_EQ(asked, c.questions);
    EXPECT_FALSE(editorFlags().open);
    const QByteArray bytes = ReadAll(MacroFolder() + QStringLiteral("Pb0.qvml"));
    EXPECT_EQ(IsRtf(bytes), c.saved);
    EXPECT_EQ(DecodeMacroFile(bytes).contains(QStringLiteral("MUSIC(CLICK);")), c.saved);
    if (c.saved) {  // with its colouring
      EXPECT_TRUE(bytes.contains("\\red255\\green160\\blue160"));
    }
    delete form.data();
  }
}

TEST_F(MacroEditorWindow, SwitchingEntriesAsksToSaveFirst) {
  for (const bool answer : {true, false}) {
    put(QStringLiteral("A.qvml"), QStringLiteral("MACRO(A);FAZE;END_FAZE;END_MACRO;"));
    put(QStringLiteral("B.qvml"), QStringLiteral("MACRO(B);END_MACRO;"));
    CurrentMacroName = QStringLiteral("A.qvml");
    open();
    ASSERT_EQ(itemsOf(listBox1()), (QStringList{"A.qvml", "B.qvml"}));
    typeAtTheEnd(QStringLiteral("LIGHT(1);"));
    asked.clear();
    answers = {answer};
    const QRect entry = listBox1()->visualItemRect(listBox1()->item(1));
    QTest::mouseClick(listBox1()->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_EQ(asked, QStringList{kSaveQuestion});
    EXPECT_TRUE(line(0).startsWith(QStringLiteral("MACRO(B);")));
    EXPECT_EQ(listBox1()->currentRow(), 1);
    EXPECT_EQ(fileText(QStringLiteral("A.qvml")).contains(QStringLiteral("LIGHT(1);")), answer);
    form->close();
    delete form.data();
  }
}

TEST_F(MacroEditorWindow, TheListGettingTheFocusLoadsNothing) {
  put(QStringLiteral("A.qvml"), QStringLiteral("MACRO(A);END_MACRO;"));
  put(QStringLiteral("B.qvml"), QStringLiteral("MACRO(B);END_MACRO;"));
  open();  // no current macro: nothing chosen
  ASSERT_EQ(itemsOf(listBox1()), (QStringList{"A.qvml", "B.qvml"}));
  form->activateWindow();
  listBox1()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
  EXPECT_TRUE(richEdit1()->toPlainText().isEmpty());
  EXPECT_TRUE(CurrentMacroName.isEmpty());
  // The keyboard chooses like the mouse.
  QTest::keyClick(listBox1(), Qt::Key_Down);
  EXPECT_TRUE(line(0).startsWith(QStringLiteral("MACRO("))) << line(0).toStdString();
  EXPECT_FALSE(CurrentMacroName.isEmpty());
}

TEST_F(MacroEditorWindow, ATextThatCouldNotBeSavedKeepsTheWindowOpen) {
  put(QStringLiteral("B.qvml"), QStringLiteral("MACRO(B);END_MACRO;"));
  openWith(QStringLiteral("A.qvml"), QStringLiteral("MACRO(A);END_MACRO;"));
  // Renamed to a macro whose file exists; replacing it is refused.
  richEdit1()->setPlainText(QStringLiteral("MACRO(B);FAZE;END_FAZE;END_MACRO;"));
  answers = {true, false};
  form->close();
  EXPECT_EQ(asked,
            (QStringList{kSaveQuestion, QStringLiteral("Файл B.qvml уже существует. Заменить?")}));
  EXPECT_TRUE(editorFlags().open);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(timer1()->isActive());
  EXPECT_EQ(fileText(QStringLiteral("B.qvml")), QStringLiteral("MACRO(B);END_MACRO;"));

  // The program ending closes it all the same.
  ProgramClosing = true;
  answers = {true, false};
  form->close();
  EXPECT_FALSE(editorFlags().open);
}

TEST_F(MacroEditorWindow, TemplateAddAndMoveCommands) {
  open();
  form->item("Pb1")->trigger();
  form->item("LiPo1")->trigger();
  EXPECT_TRUE(line(0).startsWith(QStringLiteral("MACRO(LiPo0);")));
  form->item("ToolButton6")->trigger();  // add
  EXPECT_TRUE(line(0).startsWith(QStringLiteral("MACRO(NAME0);")));
  EXPECT_EQ(itemsOf(listBox1()), (QStringList{"Pb0.QVML", "LiPo0.QVML", "NAME0.QVML"}));
  EXPECT_EQ(listBox1()->currentRow(), 2);
  EXPECT_EQ(info(0), QStringLiteral("   Имя: NAME0.QVML"));

  form->item("ToolButton4")->trigger();  // up
  EXPECT_EQ(itemsOf(listBox1()), (QStringList{"Pb0.QVML", "NAME0.QVML", "LiPo0.QVML"}));
  EXPECT_EQ(listBox1()->currentRow(), 1);
  form->item("ToolButton5")->trigger();  // down
  form->item("ToolButton5")->trigger();  // the last stays last
  EXPECT_EQ(itemsOf(listBox1()), (QStringList{"Pb0.QVML", "LiPo0.QVML", "NAME0.QVML"}));
  EXPECT_EQ(listBox1()->currentRow(), 2);
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MacroEditorWindow, DeleteAsksAndEmptiesTheEditor) {
  put(QStringLiteral("A.qvml"), QStringLiteral("MACRO(A);END_MACRO;"));
  openWith(QStringLiteral("B.qvml"), QStringLiteral("MACRO(B);END_MACRO;"));
  answers = {false};
  form->item("ToolButton7")->trigger();
  EXPECT_EQ(asked, QStringList{QStringLiteral("Удалить B.qvml?")});
  EXPECT_TRUE(QFile::exists(MacroFolder() + QStringLiteral("B.qvml")));

  answers = {true};
  form->item("ToolButton7")->trigger();
  EXPECT_FALSE(QFile::exists(MacroFolder() + QStringLiteral("B.qvml")));
  EXPECT_EQ(itemsOf(listBox1()), QStringList{"A.qvml"});
  EXPECT_EQ(listBox1()->currentRow(), -1);
  EXPECT_TRUE(richEdit1()->toPlainText().isEmpty());
  // The empty text compiled: the header alone, for no macro.
  EXPECT_EQ(richEdit2()->toPlainText(), QStringLiteral("03 00 D4 "));
  EXPECT_EQ(info(0), QStringLiteral("   Имя: "));
}

TEST_F(MacroEditorWindow, SaveWritesWithoutAskingAndSelectsTheSavedFile) {
  openWith(QStringLiteral("A.qvml"), QStringLiteral("MACRO(A);END_MACRO;"));
  richEdit1()->setPlainText(QStringLiteral("MACRO(Lead1);FAZE;END_FAZE;END_MACRO;"));
  form->item("N5")->trigger();
  EXPECT_TRUE(asked.isEmpty());
  EXPECT_TRUE(IsRtf(ReadAll(MacroFolder() + QStringLiteral("Lead1.qvml"))));
  EXPECT_EQ(itemsOf(listBox1()), (QStringList{"A.qvml", "Lead1.qvml"}));
  EXPECT_EQ(listBox1()->currentRow(), 1);
  // The toolbar's save button is the same command.
  richEdit1()->setPlainText(QStringLiteral("MACRO(Lead1);END_MACRO;"));
  form->item("ToolButton1")->trigger();
  EXPECT_EQ(fileText(QStringLiteral("Lead1.qvml")), QStringLiteral("MACRO(Lead1);END_MACRO;"));
}

TEST_F(MacroEditorWindow, PrintsThroughThePrintDialog) {
  openWith(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));
  const QString pdf = folder.file(QStringLiteral("macro.pdf"));
  bool accept = false;
  QString documentName;
  answerDialog = [&](QDialog& dialog) {
    auto* print = qobject_cast<QPrintDialog*>(&dialog);
    if (!print || !accept)
      return static_cast<int>(QDialog::Rejected);
    documentName = print->printer()->docName();
    print->printer()->setOutputFormat(QPrinter::PdfFormat);
    print->printer()->setOutputFileName(pdf);
    return static_cast<int>(QDialog::Accepted);
  };
  form->item("ToolButton2")->trigger();
  EXPECT_FALSE(QFile::exists(pdf));

  accept = true;
  form->item("ToolButton2")->trigger();
  EXPECT_EQ(documentName, QStringLiteral("PB0.QVML"));
  EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
  EXPECT_TRUE(asked.isEmpty());
}

TEST_F(MacroEditorWindow, ToolbarButtonsHaveHintsAndTheirOwnPictures) {
  open();
  const QList<QAction*> buttons = toolBar1()->actions();
  ASSERT_EQ(buttons.size(), 12);
  QList<QImage> pictures;
  for (int i = 0; i < buttons.size(); ++i) {
    QWidget* button = toolBar1()->widgetForAction(buttons[i]);
    const bool separator = i == 2 || i == 7 || i == 10;
    ASSERT_EQ(buttons[i]->isSeparator(), separator) << i;
    if (separator) {
      EXPECT_EQ(button->width(), 8);
      continue;
    }
    EXPECT_EQ(button->size(), QSize(31, 30)) << i;
    EXPECT_FALSE(buttons[i]->toolTip().isEmpty()) << i;
    pictures.append(buttons[i]->icon().pixmap(24, 24).toImage());
  }
  ASSERT_EQ(pictures.size(), 9);
  for (int i = 0; i < pictures.size(); ++i) {
    EXPECT_EQ(pictures[i].size(), QSize(24, 24));
    for (int j = 0; j < i; ++j)
      EXPECT_NE(pictures[i], pictures[j]) << i << " looks like " << j;
  }
}

TEST_F(MacroEditorWindow, ChargerMacroCommandsAreGreyedWithTheReason) {
  open();
  const QStringList greyed = {"ToolButton9", "ToolButton10", "N10", "N11"};
  for (QAction* action : form->findChildren<QAction*>()) {
    if (action->isSeparator() || action->menu())
      continue;
    const QString name = action->objectName();
    EXPECT_EQ(action->isEnabled(), !greyed.contains(name)) << name.toStdString();
  }
  for (const char* name : {"N10", "N11"}) {
    QAction* action = form->item(name);
    EXPECT_EQ(action->toolTip(), kUnavailableHint) << name;
    auto* menu = qobject_cast<QMenu*>(action->associatedObjects().value(0));
    ASSERT_NE(menu, nullptr) << name;
    EXPECT_TRUE(menu->toolTipsVisible()) << name;
  }
  // A tool button's hint is its only caption: it stays, the reason follows.
  EXPECT_EQ(form->item("ToolButton9")->toolTip(),
            QStringLiteral("Прочитать из ЗУ\n") + kUnavailableHint);
  EXPECT_EQ(form->item("ToolButton10")->toolTip(),
            QStringLiteral("Записать в ЗУ\n") + kUnavailableHint);
}

TEST_F(MacroEditorWindow, HelpButtonAndItemShowTheLanguageReference) {
  open();
  for (const char* name : {"ToolButton12", "QVML1"}) {
    form->item(name)->trigger();
    TFormHelp* help = HelpWindowInstance();
    ASSERT_NE(help, nullptr) << name;
    EXPECT_EQ(help->TextBrowser1->source(), HelpDocumentUrl(HelpDocument::QvmlReference));
    EXPECT_TRUE(help->TextBrowser1->toPlainText().startsWith("Справочник языка QVML\n"));
    CloseHelpWindow();
  }
}

TEST_F(MacroEditorWindow, Screenshot) {
  openWith(QStringLiteral("Pb0.qvml"), templateText(MacroTemplateKind::Pb));
  clickLine(4);
  const QImage image = SavedScreenshot(*form, QStringLiteral("macro_editor"));
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.size(), form->size());
  // The clicked line's row of the listing shows on light red, no other row.
  const QTextEdit& listing = *richEdit2();
  for (int row = 0; row < listing.document()->blockCount(); ++row) {
    const QRect area = ShownParagraph(listing, *form, row);
    const int reddened = ColourCount(image, area, ToQColor(kLightRed), 0);
    if (row == 4)
      EXPECT_GT(reddened, area.height() * 20) << "at " << area.y();
    else
      EXPECT_EQ(reddened, 0) << "row " << row << " at " << area.y();
  }
}

}  // namespace
