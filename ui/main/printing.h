#pragma once

#include <QPageLayout>
#include <QString>

class QAction;
class QPrinter;
class QWidget;

// A window that "Печать" prints when it is in front of the other child
// windows.
class Printable {
 public:
  virtual ~Printable() = default;

  // What the printer names the job.
  virtual QString documentName() const = 0;
  virtual QPageLayout::Orientation pageOrientation() const = 0;
  // Onto the printer the user chose.
  virtual void print(QPrinter& printer) = 0;
};

// The print dialog, through the modal seam, then the window onto the printer
// chosen; nothing when the dialog is cancelled.
void PrintWindow(Printable& window, QWidget* dialogParent);

// "Печать": the printable child window shown or activated last; a message
// when none is open.
void PrintFrontWindow(QWidget* dialogParent);

// Ctrl+P within the window prints it, and its context menu offers the same.
QAction* AddPrintAction(QWidget* window, Printable& printable);
