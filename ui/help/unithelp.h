#pragma once

#include <QStringList>
#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QTextDocument;
class QToolBar;

// The documents built into the program; they link to each other.
enum class HelpDocument { UserGuide, QvmlReference };

QUrl HelpDocumentUrl(HelpDocument document);

// The name a link gives a heading after its "#": lower case, blanks as "-",
// punctuation dropped, as the documents' links are written.
QString HeadingAnchor(const QString& heading);
// The anchors of every heading of a document, in order.
QStringList HeadingAnchors(const QTextDocument& document);

// The help window: one document at a time, with back and forward through the
// documents and sections visited. Its caption names the document shown.
class TFormHelp : public QWidget {
  Q_OBJECT

 public:
  explicit TFormHelp(QWidget* parent = nullptr);

  QToolBar* const ToolBar1;
  QTextBrowser* const TextBrowser1;

  void showDocument(HelpDocument document);
  // The document's first heading.
  QString documentTitle() const;

 private:
  void documentShown(const QUrl& url);
};

// Shows the document in the one help window, opening the window when it is
// not open and bringing it to the front.
void ShowHelp(HelpDocument document);
// The open help window, or null.
TFormHelp* HelpWindowInstance();
void CloseHelpWindow();
