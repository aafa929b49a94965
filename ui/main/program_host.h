#pragma once

#include "common/host.h"

// The program's host: message boxes, the port dialog, and the main window
// for the status bar, a memory read's progress and the end of a run.
class ProgramHost : public qv::Host {
 public:
  void showMessage(const QString& text) override;
  bool ask(const QString& question) override;
  QString programFolder() override { return home; }
  void choosePort() override;
  bool reopenPort() override;
  void refreshStatus() override;
  void memoryReadProgress() override;
  void runEnded(int channel, const QString& path) override;

  // "--home DIR": the program folder the user named; empty for the usual.
  QString home;
};
