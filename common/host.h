#pragma once

#include <QString>
#include <memory>

#include "common/port_io.h"

namespace qv {

// What the core asks of the program around it: the windows, qvctl or a test.
// Each implements it once and installs it once. Every member already does
// what a program without windows would, so an implementation overrides only
// what it has.
class Host {
 public:
  virtual ~Host();

  // A message box; the default writes the text to stderr.
  virtual void showMessage(const QString& text);
  // A Yes/No question titled kQuestionTitle, true for Yes; the default says No.
  virtual bool ask(const QString& question);

  // Now as days since 30 December 1899, local time.
  virtual double now();

  // The program folder when it is not the usual one (--home, a test), and
  // the executable's folder when it is not the running one; empty for the
  // usual.
  virtual QString programFolder();
  virtual QString executableFolder();

  // Lets the user choose the COM number (DeviceLink.ChosenPort; 0 for none).
  virtual void choosePort();
  // Shows the link's state after an exchange; the program also lets pending
  // events run here.
  virtual void refreshStatus();
  // Called between two blocks of a memory read: the place to show
  // MemoryImage.ReadProgress and keep the program alive.
  virtual void memoryReadProgress();

  // Opens the charger's port again after a lost link, without asking anyone;
  // true when it is open. The default has no port to reopen.
  virtual bool reopenPort();

  // The port to talk through; null for the system's serial port.
  virtual std::unique_ptr<SerialPortIo> makeSerialPort();

  // A recorded run started or ended, with its file.
  virtual void runStarted(int channel, const QString& path);
  virtual void runEnded(int channel, const QString& path);
};

// Installs the host the core talks to; null (or the host's end) restores
// the default one.
void InstallHost(Host* host);
Host& CurrentHost();

}  // namespace qv
