#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "common/host.h"
#include "common/port_io.h"

// What the tests' host does, as the running test sets it. Cleared before
// every test.
struct TestHostState {
  // Messages shown and questions asked, in order. A question takes the first
  // of `answers`, or `answer` when none is left.
  QStringList messages;
  QStringList questions;
  QList<bool> answers;
  bool answer = false;
  // Now, in days; the system clock when unset.
  std::optional<double> now;
  QString programFolder;
  QString executableFolder;
  // The port dialog is counted, then does `choosePort` when set.
  int portDialogs = 0;
  std::function<void()> choosePort;
  int statusRefreshes = 0;
  std::function<void()> onStatusRefresh;
  std::function<void()> onMemoryReadBlock;
  // Reopening the port after a lost link; the base host's when unset.
  std::function<bool()> reopenPort;
  // The port the link opens; the system's serial port when unset.
  std::function<std::unique_ptr<qv::SerialPortIo>()> serialPort;
  std::function<void(int channel, const QString& path)> onRunStarted;
  std::function<void(int channel, const QString& path)> onRunEnded;
};

TestHostState& TestHost();

// The one host of the tests, over the default host for the core's tests and
// over the program's host for the windows' tests, whose main window still
// shows the status, a read's progress and the end of a run.
template <class Base>
class RecordingHost : public Base {
 public:
  void showMessage(const QString& text) override { TestHost().messages << text; }
  bool ask(const QString& question) override {
    TestHost().questions << question;
    return TestHost().answers.isEmpty() ? TestHost().answer : TestHost().answers.takeFirst();
  }
  double now() override { return TestHost().now ? *TestHost().now : Base::now(); }
  QString programFolder() override { return TestHost().programFolder; }
  QString executableFolder() override { return TestHost().executableFolder; }
  void choosePort() override {
    ++TestHost().portDialogs;
    if (TestHost().choosePort)
      TestHost().choosePort();
  }
  void refreshStatus() override {
    ++TestHost().statusRefreshes;
    if (TestHost().onStatusRefresh)
      TestHost().onStatusRefresh();
    Base::refreshStatus();
  }
  void memoryReadProgress() override {
    if (TestHost().onMemoryReadBlock)
      TestHost().onMemoryReadBlock();
    Base::memoryReadProgress();
  }
  bool reopenPort() override {
    return TestHost().reopenPort ? TestHost().reopenPort() : Base::reopenPort();
  }
  std::unique_ptr<qv::SerialPortIo> makeSerialPort() override {
    return TestHost().serialPort ? TestHost().serialPort() : nullptr;
  }
  void runStarted(int channel, const QString& path) override {
    if (TestHost().onRunStarted)
      TestHost().onRunStarted(channel, path);
    Base::runStarted(channel, path);
  }
  void runEnded(int channel, const QString& path) override {
    if (TestHost().onRunEnded)
      TestHost().onRunEnded(channel, path);
    Base::runEnded(channel, path);
  }
};

// Installs HOST for the whole test program and clears TestHost() before
// every test.
void InstallTestHost(qv::Host& host);
