#pragma once

#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

// The charger simulator qvsim as a child process of a test: start() waits for
// its device path, stop() ends it with SIGTERM and returns its statistics
// ("requests", "replies", "fault.silence", ...).
class SimProcess {
 public:
  explicit SimProcess(const QStringList& arguments = {});
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  bool start();
  QString devicePath() const { return devicePath_; }
  qint64 processId() const { return process_.processId(); }
  QMap<QString, qint64> stop();
  // Everything it wrote on stderr until stop(): with --trace, every exchange.
  const QByteArray& errorOutput() const { return errorOutput_; }

  static QString programPath();

 private:
  QStringList arguments_;
  QProcess process_;
  QString devicePath_;
  QByteArray errorOutput_;
};
