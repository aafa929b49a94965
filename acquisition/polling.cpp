#include "acquisition/polling.h"

#include <QTimer>
#include <algorithm>

#include "acquisition/query.h"
#include "acquisition/shared_state.h"
#include "common/commands.h"
#include "common/host.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"

namespace qv {

namespace {

// A reconnect attempt that finds the link held tries again this soon.
constexpr int kHeldRetryMs = 500;

}  // namespace

int PollingIntervalSeconds(int timerSetting) {
  if (timerSetting >= 0 && timerSetting <= kLongestPollingSeconds)
    return timerSetting;
  return kDefaultPollingSeconds;
}

bool IdentifyCharger() {
  if (!DeviceLink.PortOpen)
    return false;
  QueryDevice(U_WhoAreYou);
  const bool supported = DeviceLink.PortOpen && DeviceLink.Reply[0] == U_WhoAreYou &&
                         IsSupportedVersion(ChargerState.VersionText);
  if (supported) {
    QueryDevice(U_GiveMeScr);
    if (DeviceLink.PortOpen)
      return true;
  }
  if (ClosePort())
    StatusRefresh();
  return false;
}

Poller::Poller(QObject* parent)
    : QObject(parent), timer_(new QTimer(this)), reconnectTimer_(new QTimer(this)) {
  timer_->setObjectName(QStringLiteral("Timer2"));
  timer_->setInterval(interval_);
  reconnectTimer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &Poller::poll);
  connect(reconnectTimer_, &QTimer::timeout, this, &Poller::attemptReconnect);
}

void Poller::setInterval(int milliseconds) {
  interval_ = std::max(milliseconds, 0);
  timer_->setInterval(interval_);
  if (interval_ == 0)
    timer_->stop();
  else if (active_ && !reconnecting_)
    timer_->start();
}

void Poller::setReconnectPauses(int firstMs, int longestMs) {
  firstPauseMs_ = firstMs;
  longestPauseMs_ = std::max(firstMs, longestMs);
}

void Poller::start() {
  reconnectTimer_->stop();
  reconnecting_ = false;
  active_ = interval_ > 0;
  setNote({});
  if (active_)
    timer_->start(interval_);
}

void Poller::stop() {
  active_ = false;
  reconnecting_ = false;
  timer_->stop();
  reconnectTimer_->stop();
  setNote({});
}

void Poller::poll() {
  if (!active_ || reconnecting_ || inPoll_)
    return;
  if (!DeviceLink.PortOpen) {
    lose();
    return;
  }
  if (ChargerState.Busy || BackgroundHeld())
    return;  // the next tick asks again
  inPoll_ = true;
  QueryDevice(U_GiveMeADC);
  if (DeviceLink.PortOpen)
    QueryDevice(U_GiveMeScr);
  inPoll_ = false;
  // Stopped from inside an exchange (its status refresh runs events).
  if (!active_)
    return;
  if (!DeviceLink.PortOpen)
    lose();
  emit polled();
}

void Poller::lose() {
  timer_->stop();
  reconnecting_ = true;
  nextPauseMs_ = firstPauseMs_;
  scheduleReconnect();
}

void Poller::scheduleReconnect() {
  reconnectTimer_->start(nextPauseMs_);
  setNote(
      QStringLiteral("Нет связи с ЗУ, новая попытка через %1 с").arg((nextPauseMs_ + 999) / 1000));
}

void Poller::attemptReconnect() {
  if (!reconnecting_)
    return;
  if (ChargerState.Busy || BackgroundHeld()) {
    reconnectTimer_->start(kHeldRetryMs);
    return;
  }
  setNote(QStringLiteral("Переподключение к ЗУ..."));
  const bool open = DeviceLink.PortOpen || CurrentHost().reopenPort();
  const bool found = open && IdentifyCharger();
  if (!reconnecting_)
    return;  // stopped meanwhile (the exchanges run pending events)
  if (found) {
    reconnecting_ = false;
    setNote({});
    timer_->start(interval_);
    emit reconnected();
    emit polled();
    return;
  }
  nextPauseMs_ = std::min(nextPauseMs_ * 2, longestPauseMs_);
  scheduleReconnect();
}

void Poller::setNote(const QString& note) {
  emit noteChanged(note);
}

}  // namespace qv
