#include "ui/main/unavailable.h"

#include <QAction>
#include <QMenu>

void MarkUnavailable(QAction* action, const QString& why) {
  action->setEnabled(false);
  bool inMenu = false;
  for (QObject* owner : action->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(owner)) {
      menu->setToolTipsVisible(true);
      inMenu = true;
    }
  }
  // A tool button's tooltip is its only caption: the reason goes below it.
  action->setToolTip(inMenu ? why : action->text() + u'\n' + why);
}
