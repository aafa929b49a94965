#include "tests/support/screenshot.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

QString SaveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = QStringLiteral(QV_SCREENSHOT_FOLDER);
  QDir().mkpath(folder);
  const QString path = folder + name + QStringLiteral(".png");
  return widget.grab().save(path) ? path : QString();
}
