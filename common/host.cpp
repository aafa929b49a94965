#include "common/host.h"

#include <QDateTime>
#include <cstdio>

#include "common/clock.h"

namespace qv {

namespace {

Host* installed = nullptr;

}  // namespace

Host::~Host() {
  if (installed == this)
    installed = nullptr;
}

void Host::showMessage(const QString& text) {
  std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

bool Host::ask(const QString&) {
  return false;
}

double Host::now() {
  return DateTimeToDays(QDateTime::currentDateTime());
}

QString Host::programFolder() {
  return {};
}

QString Host::executableFolder() {
  return {};
}

void Host::choosePort() {}

void Host::refreshStatus() {}

void Host::memoryReadProgress() {}

bool Host::reopenPort() {
  return false;
}

std::unique_ptr<SerialPortIo> Host::makeSerialPort() {
  return nullptr;
}

void Host::runStarted(int, const QString&) {}

void Host::runEnded(int, const QString&) {}

void InstallHost(Host* host) {
  installed = host;
}

Host& CurrentHost() {
  static Host fallback;
  return installed ? *installed : fallback;
}

}  // namespace qv
