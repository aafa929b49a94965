#include "ui/main/printing.h"

#include <QAction>
#include <QPrintDialog>
#include <QPrinter>

#include "common/messages.h"
#include "ui/main/child_window.h"
#include "ui/main/modal.h"

using namespace qv;

void PrintWindow(Printable& window, QWidget* dialogParent) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(window.documentName());
  printer.setPageOrientation(window.pageOrientation());
  QPrintDialog dialog(&printer, dialogParent);
  if (RunModal(dialog) == QDialog::Accepted)
    window.print(printer);
}

void PrintFrontWindow(QWidget* dialogParent) {
  for (ChildWindow* window : ChildWindowsFrontFirst()) {
    if (auto* printable = dynamic_cast<Printable*>(window)) {
      PrintWindow(*printable, dialogParent);
      return;
    }
  }
  ShowMessage(QStringLiteral("Печатать нечего: откройте окно графиков или диагноза."));
}

QAction* AddPrintAction(QWidget* window, Printable& printable) {
  auto* action = new QAction(QStringLiteral("Печать..."), window);
  action->setObjectName(QStringLiteral("printAction"));
  action->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
  action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  QObject::connect(action, &QAction::triggered, window,
                   [window, &printable] { PrintWindow(printable, window); });
  window->addAction(action);
  return action;
}
