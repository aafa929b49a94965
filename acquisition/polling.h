#pragma once

#include <QObject>
#include <QString>

class QTimer;

namespace qv {

// Seconds between two polls for the Timer setting: 0 switches polling off,
// 1 to 3600 are taken as they are, anything else gives the default 3.
int PollingIntervalSeconds(int timerSetting);

// Asks the charger on the open port for its version and, when it is one this
// program supports, for its screen. Otherwise the port is closed: false.
bool IdentifyCharger();

// Keeps a connected, identified charger alive: every interval it asks for the
// measurements, then for the screen, never through a dialog or a message
// box. It waits while another exchange, a modal dialog or a memory read runs
// (BackgroundHold). When an exchange fails the port is closed; it then opens
// the same port again and identifies the charger after 2 s, then after ever
// longer pauses up to 30 s, and goes on polling once the charger answers.
class Poller : public QObject {
  Q_OBJECT

 public:
  explicit Poller(QObject* parent = nullptr);

  // The polling timer (Timer2 of the main window).
  QTimer* timer() const { return timer_; }
  // 0 switches polling off.
  void setInterval(int milliseconds);
  int interval() const { return interval_; }
  // Pauses between reconnect attempts: the first, doubled up to the last.
  void setReconnectPauses(int firstMs, int longestMs);

  // Polls the charger just identified on the open port; after a lost link the
  // host reopens it.
  void start();
  // No more polling and no reconnecting.
  void stop();
  bool active() const { return active_; }
  bool reconnecting() const { return reconnecting_; }

  // One tick: measurements, then the screen.
  void poll();

 signals:
  // After every poll that reached the charger: views redraw.
  void polled();
  // What the status bar says about the link; empty while all is well.
  void noteChanged(const QString& note);
  // The charger answers again after a lost link.
  void reconnected();

 private:
  void lose();
  void scheduleReconnect();
  void attemptReconnect();
  void setNote(const QString& note);

  QTimer* const timer_;
  QTimer* const reconnectTimer_;
  int interval_ = 3000;
  int firstPauseMs_ = 2000;
  int longestPauseMs_ = 30000;
  int nextPauseMs_ = 0;
  bool active_ = false;
  bool reconnecting_ = false;
  bool inPoll_ = false;
};

}  // namespace qv
