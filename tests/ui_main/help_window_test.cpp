#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest/QTest>

#include "tests/support/pixels.h"
#include "tests/support/screenshot.h"
#include "tests/support/shown_windows.h"
#include "tests/ui_main/main_window_fixture.h"
#include "ui/help/unithelp.h"

using namespace qv;

namespace {

const QString kGuideTitle = QStringLiteral("Руководство пользователя");
const QString kReferenceTitle = QStringLiteral("Справочник языка QVML");

class HelpWindow : public MainWindowTest {
 protected:
  ~HelpWindow() override { CloseHelpWindow(); }

  // Clicks the first link to href in the shown document, as the user would.
  static void clickLink(QTextBrowser* browser, const QString& href) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
      for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (fragment.charFormat().anchorHref() != href)
          continue;
        QTextCursor inside(document);
        inside.setPosition(fragment.position() + 1);
        browser->setTextCursor(inside);
        browser->ensureCursorVisible();
        QTest::mouseClick(browser->viewport(), Qt::LeftButton, {},
                          browser->cursorRect(inside).center());
        return;
      }
    }
    ADD_FAILURE() << "no link to " << href.toStdString();
  }

  // The text of the first line in the browser's view.
  static QString topLine(QTextBrowser* browser) {
    return browser->cursorForPosition(QPoint(browser->viewport()->width() / 2, 10)).block().text();
  }
};

TEST_F(HelpWindow, HelpItemsShowTheirDocumentInOneWindow) {
  startMainWindow();
  struct Case {
    const char* item;
    HelpDocument document;
    QString title;
  } cases[] = {
      {"N10", HelpDocument::UserGuide, kGuideTitle},
      {"N36", HelpDocument::QvmlReference, kReferenceTitle},
      {"N36", HelpDocument::QvmlReference, kReferenceTitle},
      {"N10", HelpDocument::UserGuide, kGuideTitle},
  };
  TFormHelp* first = nullptr;
  for (const Case& c : cases) {
    form->item(c.item)->trigger();
    const QList<TFormHelp*> windows = ShownWindows<TFormHelp>();
    ASSERT_EQ(windows.size(), 1) << c.item;
    TFormHelp* help = windows[0];
    if (!first)
      first = help;
    EXPECT_EQ(help, first) << c.item;
    EXPECT_EQ(HelpWindowInstance(), help);
    EXPECT_EQ(help->TextBrowser1->source(), HelpDocumentUrl(c.document)) << c.item;
    EXPECT_TRUE(help->TextBrowser1->toPlainText().startsWith(c.title + u'\n')) << c.item;
    EXPECT_EQ(help->windowTitle(), QStringLiteral("Справка — ") + c.title) << c.item;
  }
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(HelpWindow, ShortcutsOpenTheHelp) {
  startMainWindow();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(form.get(), Qt::Key_F1, Qt::ShiftModifier);
  ASSERT_NE(HelpWindowInstance(), nullptr);
  EXPECT_EQ(HelpWindowInstance()->documentTitle(), kGuideTitle);

  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(form.get(), Qt::Key_F2, Qt::ControlModifier);
  EXPECT_EQ(HelpWindowInstance()->documentTitle(), kReferenceTitle);
  EXPECT_EQ(ShownWindows<TFormHelp>().size(), 1);
}

TEST_F(HelpWindow, GuideLinkLeadsToTheReferenceSectionAndBack) {
  startMainWindow();
  form->item("N10")->trigger();
  TFormHelp* help = HelpWindowInstance();
  ASSERT_NE(help, nullptr);
  QTextBrowser* browser = help->TextBrowser1;
  QAction* back = help->ToolBar1->actions().value(0);
  ASSERT_NE(back, nullptr);
  EXPECT_FALSE(back->isEnabled());

  clickLink(browser, QStringLiteral("qvml-reference.md#сообщения-компилятора"));
  EXPECT_EQ(browser->source().adjusted(QUrl::RemoveFragment),
            HelpDocumentUrl(HelpDocument::QvmlReference));
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Справка — ") + kReferenceTitle);
  // The section is at the top of the view, not the document's start.
  EXPECT_GT(browser->verticalScrollBar()->value(), 0);
  EXPECT_EQ(topLine(browser), QStringLiteral("Сообщения компилятора"));

  ASSERT_TRUE(back->isEnabled());
  back->trigger();
  EXPECT_EQ(browser->source(), HelpDocumentUrl(HelpDocument::UserGuide));
  EXPECT_EQ(help->windowTitle(), QStringLiteral("Справка — ") + kGuideTitle);
}

TEST_F(HelpWindow, ReferenceLinksBackToTheGuide) {
  startMainWindow();
  form->item("N36")->trigger();
  QTextBrowser* browser = HelpWindowInstance()->TextBrowser1;
  clickLink(browser, QStringLiteral("user-guide.md#редактор-макросов"));
  EXPECT_EQ(HelpWindowInstance()->documentTitle(), kGuideTitle);
  EXPECT_EQ(topLine(browser), QStringLiteral("Редактор макросов"));
}

TEST_F(HelpWindow, ClosesWithTheMainWindow) {
  startMainWindow();
  form->item("N10")->trigger();
  ASSERT_NE(HelpWindowInstance(), nullptr);
  closeMainWindow();
  EXPECT_EQ(HelpWindowInstance(), nullptr);
  EXPECT_TRUE(ShownWindows<TFormHelp>().isEmpty());
}

TEST_F(HelpWindow, Screenshot) {
  startMainWindow();
  form->item("N10")->trigger();
  TFormHelp& help = *HelpWindowInstance();
  const QImage image = SavedScreenshot(help, QStringLiteral("help"));
  ASSERT_FALSE(image.isNull());
  ASSERT_EQ(image.size(), help.size());
  // The guide opens at its title, written in the text's colour.
  const QTextBrowser& browser = *help.TextBrowser1;
  ASSERT_EQ(browser.document()->firstBlock().text(), kGuideTitle);
  const QRect title = ShownParagraph(browser, help, 0);
  const QColor ink = browser.palette().color(QPalette::Text);
  EXPECT_GT(ColourCount(image, title, ink), title.height() * 5) << "at " << title.y();
}

}  // namespace
