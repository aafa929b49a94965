#pragma once

#include <QApplication>
#include <QList>
#include <QWidget>

// The top-level windows of that class on the screen, in no particular order.
template <typename Window>
QList<Window*> ShownWindows() {
  QList<Window*> found;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<Window*>(widget); window && window->isVisible())
      found << window;
  }
  return found;
}
