#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QTextEdit;
class QWidget;

// A read-only text window with one closing button: the program information,
// or a report handed to it.
class TFormAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFormAbout(QWidget* parent = nullptr);

  QPlainTextEdit* const Memo1;
  QWidget* const Panel1;
  QPushButton* const Button1;
  QTextEdit* const RichEdit1;

 protected:
  void resizeEvent(QResizeEvent* event) override;  // FormResize
};

// "О программе": the information text, modal.
void ShowAboutInformation(QWidget* parent);
// A report in a new window of its own, modeless; it frees itself when closed.
TFormAbout* ShowAboutReport(const QString& report);
// Closes every report window: they end with the program.
void CloseAboutReports();

QString AboutInformationText();
