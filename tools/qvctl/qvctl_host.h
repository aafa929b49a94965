#pragma once

#include <QSet>
#include <QStringList>

#include "common/host.h"

// qvctl's host: messages are kept for the one line that explains a failure,
// questions are asked on the terminal (or answered by --yes), the port is
// the configured one, a memory read shows its percentage on a terminal and
// the runs a recording sees go to stdout.
class QvctlHost : public qv::Host {
 public:
  void showMessage(const QString& text) override { messages << text; }
  bool ask(const QString& question) override;
  QString programFolder() override { return home; }
  void choosePort() override;
  bool reopenPort() override;
  void memoryReadProgress() override;
  void runStarted(int channel, const QString& path) override;
  void runEnded(int channel, const QString& path) override;

  QString home;  // --home
  bool answerYes = false;
  QStringList messages;
  // A memory read of this many blocks shows its progress; 0 for none.
  int memoryBlocks = 0;
  // The runs of a recording: those seen to start, and the channels whose
  // run has not ended. With stopWhenAllEnded the event loop ends then.
  int runsStarted = 0;
  QSet<int> running;
  bool stopWhenAllEnded = false;
  bool allRunsEnded() const { return runsStarted > 0 && running.isEmpty(); }

 private:
  int blocksRead_ = 0;
  int percentShown_ = -1;
};

// qvctl's one host, installed by PrepareDevice.
QvctlHost& TheQvctlHost();
