#include "tools/qvctl/qvctl_host.h"

#include <unistd.h>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>

#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tools/qvctl/device_commands.h"
#include "tools/qvctl/options.h"

using namespace qv;

bool QvctlHost::ask(const QString& question) {
  if (answerYes)
    return true;
  if (!isatty(STDIN_FILENO))
    return false;
  std::fprintf(stderr, "%s [y/N] ", question.toUtf8().constData());
  char answer[16] = {};
  if (!std::fgets(answer, sizeof answer, stdin))
    return false;
  return answer[0] == 'y' || answer[0] == 'Y';
}

void QvctlHost::choosePort() {
  DeviceLink.ChosenPort = Settings.COM;
}

bool QvctlHost::reopenPort() {
  return OpenPortQuietly(Settings.COM, Settings.COMSpeed);
}

// On a terminal only: one update per percent.
void QvctlHost::memoryReadProgress() {
  if (memoryBlocks <= 0 || !isatty(STDERR_FILENO))
    return;
  const int percent = std::min(100, ++blocksRead_ * 100 / memoryBlocks);
  if (percent != percentShown_)
    std::fprintf(stderr, "\rread-memory: %3d%%", percentShown_ = percent);
}

void QvctlHost::runStarted(int channel, const QString& path) {
  ++runsStarted;
  running.insert(channel);
  PrintLine(path);
}

void QvctlHost::runEnded(int channel, const QString&) {
  running.remove(channel);
  if (stopWhenAllEnded && allRunsEnded())
    QCoreApplication::exit(kExitOk);
}

QvctlHost& TheQvctlHost() {
  static QvctlHost host;
  return host;
}
