#include "ui/main/run_end_notice.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QSystemTrayIcon>

#include "ui/main/captions.h"
#include "ui/main/status_bar.h"

namespace {

constexpr int kTrayMessageMs = 10000;

// The program draws its pictures itself; the tray gets a small sky-blue one.
QIcon trayIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(kWindowSkyBlue);
  painter.setPen(QPen(Qt::darkBlue, 2));
  painter.drawRoundedRect(QRectF(2, 6, 28, 20), 4, 4);
  painter.setFont(QFont(QStringLiteral("Arial"), 9, QFont::Bold));
  painter.drawText(QRectF(2, 6, 28, 20), Qt::AlignCenter, QStringLiteral("QV"));
  return QIcon(pixmap);
}

}  // namespace

RunEndNotice::RunEndNotice(QObject* parent) : QObject(parent) {
  if (QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
    tray_ = new QSystemTrayIcon(trayIcon(), this);
    tray_->setToolTip(kMainWindowCaption);
    tray_->show();
  }
}

QString RunEndNotice::text(int channel, const QString& path) {
  return QStringLiteral("Канал %1: запись окончена, %2")
      .arg(channel + 1)
      .arg(QFileInfo(path).fileName());
}

void RunEndNotice::notify(int channel, const QString& path) {
  if (tray_) {
    tray_->showMessage(kMainWindowCaption, text(channel, path), QSystemTrayIcon::Information,
                       kTrayMessageMs);
  } else {
    emit note(text(channel, path));
  }
  QApplication::beep();
}
