#include "tests/support/screenshot.h"

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QWidget>

QString SaveScreenshot(QWidget& widget, const QString& name) {
  const QString folder = QStringLiteral(QV_SCREENSHOT_FOLDER);
  QDir().mkpath(folder);
  const QString path = folder + name + QStringLiteral(".png");
  return widget.grab().save(path) ? path : QString();
}

QImage SavedScreenshot(QWidget& widget, const QString& name) {
  const QString path = SaveScreenshot(widget, name);
  return path.isEmpty() ? QImage() : QImage(path);
}
