#include "tests/support/sim_process.h"

#include <QDeadlineTimer>

namespace {

constexpr int kStartMs = 5000;
constexpr int kStopMs = 5000;

// "key value" lines; anything else the simulator says is skipped.
QMap<QString, qint64> parseStatistics(const QByteArray& text) {
  QMap<QString, qint64> values;
  for (const QByteArray& line : text.split('\n')) {
    const QList<QByteArray> fields = line.trimmed().split(' ');
    if (fields.size() != 2)
      continue;
    bool ok = false;
    const qint64 value = fields[1].toLongLong(&ok);
    if (ok)
      values.insert(QString::fromLatin1(fields[0]), value);
  }
  return values;
}

}  // namespace

SimProcess::SimProcess(const QStringList& arguments) : arguments_(arguments) {}

SimProcess::~SimProcess() {
  stop();
}

QString SimProcess::programPath() {
  return QStringLiteral(QVSIM_PATH);
}

bool SimProcess::start() {
  process_.start(programPath(), arguments_);
  if (!process_.waitForStarted(kStartMs))
    return false;
  const QDeadlineTimer deadline(kStartMs);
  while (!process_.canReadLine()) {
    if (deadline.hasExpired() || process_.state() != QProcess::Running)
      return false;
    process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
  }
  devicePath_ = QString::fromLocal8Bit(process_.readLine().trimmed());
  return !devicePath_.isEmpty();
}

QMap<QString, qint64> SimProcess::stop() {
  if (process_.state() == QProcess::NotRunning)
    return {};
  process_.terminate();
  if (!process_.waitForFinished(kStopMs)) {
    process_.kill();
    process_.waitForFinished(kStopMs);
    return {};
  }
  errorOutput_ = process_.readAllStandardError();
  return parseStatistics(errorOutput_);
}
