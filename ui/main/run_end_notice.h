#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QSystemTrayIcon;

// Tells the user that a run ended, without blocking anything: a message from
// the tray icon where the desktop has a tray, else a note for the status
// bar; and a beep.
class RunEndNotice : public QObject {
  Q_OBJECT

 public:
  explicit RunEndNotice(QObject* parent = nullptr);

  void notify(int channel, const QString& path);
  static QString text(int channel, const QString& path);

 signals:
  // For the status bar, where the desktop has no tray to show it.
  void note(const QString& text);

 private:
  QSystemTrayIcon* tray_ = nullptr;
};
