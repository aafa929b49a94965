#include "ui/main/run_end_notice.h"

#include <QApplication>
#include <QFileInfo>
#include <QSystemTrayIcon>

#include "ui/main/artwork.h"
#include "ui/main/captions.h"

using namespace qv;

namespace {

constexpr int kTrayMessageMs = 10000;

}  // namespace

RunEndNotice::RunEndNotice(QObject* parent) : QObject(parent) {
  if (QSystemTrayIcon::isSystemTrayAvailable() && QSystemTrayIcon::supportsMessages()) {
    tray_ = new QSystemTrayIcon(ProgramIcon(), this);
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
