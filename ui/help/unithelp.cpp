#include "ui/help/unithelp.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int kFirstWidth = 760;
constexpr int kFirstHeight = 640;
constexpr int kTextMargin = 12;
constexpr int kHeadingSpace = 12;
const QString kHelpCaption = QStringLiteral("Справка");

// By HelpDocument.
const char* const kDocumentFiles[] = {"user-guide.md", "qvml-reference.md"};

QPointer<TFormHelp> helpWindow;

// The Markdown reader gives headings neither the names that links to
// sections need nor space above them.
void setUpHeadings(QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QTextBlockFormat spaced = block.blockFormat();
    if (spaced.headingLevel() == 0)
      continue;
    QTextCursor cursor(block);
    spaced.setTopMargin(kHeadingSpace);
    cursor.setBlockFormat(spaced);
    QTextCharFormat name;
    name.setAnchor(true);
    name.setAnchorNames({HeadingAnchor(block.text())});
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(name);
  }
}

QAction* addHistoryButton(QToolBar* bar, QStyle::StandardPixmap icon, const QString& caption,
                          QKeySequence::StandardKey key) {
  QAction* action = bar->addAction(bar->style()->standardIcon(icon), caption);
  action->setShortcut(key);
  action->setEnabled(false);
  return action;
}

// On the screen the user works on, in its middle, never larger than it.
void placeFirstTime(QWidget* window) {
  const QWidget* active = QApplication::activeWindow();
  const QScreen* screen = active ? active->screen() : QGuiApplication::primaryScreen();
  if (!screen)
    return;
  const QRect area = screen->availableGeometry();
  window->resize(window->size().boundedTo(area.size() * 0.9));
  window->move(area.center() - window->rect().center());
}

}  // namespace

QUrl HelpDocumentUrl(HelpDocument document) {
  return QUrl(QStringLiteral("qrc:/help/") +
              QLatin1String(kDocumentFiles[static_cast<int>(document)]));
}

QString HeadingAnchor(const QString& heading) {
  QString anchor;
  for (const QChar ch : heading.trimmed().toLower()) {
    if (ch.isLetterOrNumber() || ch == u'-' || ch == u'_') {
      anchor += ch;
    } else if (ch == u' ') {
      anchor += u'-';
    }
  }
  return anchor;
}

QStringList HeadingAnchors(const QTextDocument& document) {
  QStringList anchors;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0)
      anchors.append(HeadingAnchor(block.text()));
  }
  return anchors;
}

TFormHelp::TFormHelp(QWidget* parent)
    : QWidget(parent, Qt::Window),
      ToolBar1(new QToolBar(this)),
      TextBrowser1(new QTextBrowser(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  // Help left open never keeps the program running.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(kFirstWidth, kFirstHeight);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(ToolBar1);
  layout->addWidget(TextBrowser1, 1);

  ToolBar1->setMovable(false);
  ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  QAction* back =
      addHistoryButton(ToolBar1, QStyle::SP_ArrowBack, QStringLiteral("Назад"), QKeySequence::Back);
  QAction* forward = addHistoryButton(ToolBar1, QStyle::SP_ArrowForward, QStringLiteral("Вперёд"),
                                      QKeySequence::Forward);
  connect(back, &QAction::triggered, TextBrowser1, &QTextBrowser::backward);
  connect(forward, &QAction::triggered, TextBrowser1, &QTextBrowser::forward);
  connect(TextBrowser1, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(TextBrowser1, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

  TextBrowser1->setOpenExternalLinks(true);
  // Kept by the document whatever it shows.
  TextBrowser1->document()->setDocumentMargin(kTextMargin);
  connect(TextBrowser1, &QTextBrowser::sourceChanged, this, &TFormHelp::documentShown);
  new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
}

void TFormHelp::showDocument(HelpDocument document) {
  TextBrowser1->setSource(HelpDocumentUrl(document));
}

QString TFormHelp::documentTitle() const {
  return TextBrowser1->document()->firstBlock().text();
}

// The browser scrolled to a section before its heading had a name.
void TFormHelp::documentShown(const QUrl& url) {
  setUpHeadings(*TextBrowser1->document());
  setWindowTitle(kHelpCaption + QStringLiteral(" — ") + documentTitle());
  if (url.hasFragment())
    TextBrowser1->scrollToAnchor(url.fragment());
}

void ShowHelp(HelpDocument document) {
  if (!HelpWindowInstance()) {
    helpWindow = new TFormHelp;
    placeFirstTime(helpWindow);
  }
  helpWindow->showDocument(document);
  helpWindow->setWindowState(helpWindow->windowState() & ~Qt::WindowMinimized);
  helpWindow->show();
  helpWindow->raise();
  helpWindow->activateWindow();
}

TFormHelp* HelpWindowInstance() {
  // A closed window is gone, even while its deletion is pending.
  return helpWindow && helpWindow->isVisible() ? helpWindow.data() : nullptr;
}

void CloseHelpWindow() {
  if (helpWindow)
    helpWindow->close();
}
