#include "tests/support/wait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  const QDeadlineTimer deadline(timeoutMs);
  while (!condition()) {
    if (deadline.hasExpired())
      return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return true;
}
