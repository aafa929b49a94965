#include "link/port.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <QSet>

#include "common/host.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "link/device_link.h"

namespace qv {

namespace {

struct PortFamily {
  int firstCom;
  int count;
  const char* prefix;
};

constexpr PortFamily kFamilies[] = {
    {1, 32, "/dev/ttyS"},
    {33, 32, "/dev/ttyUSB"},
    {65, 35, "/dev/ttyACM"},
};

QString fixedPortPath(int n) {
  for (const PortFamily& family : kFamilies) {
    if (n >= family.firstCom && n < family.firstCom + family.count) {
      return QLatin1String(family.prefix) + QString::number(n - family.firstCom);
    }
  }
  return {};
}

QString comName(int port) {
  return QStringLiteral("COM") + QString::number(port);
}

// The end of the messages about settings that could not be read.
const QString kButFine = QStringLiteral("!\n\nЭто нехорошо, но ладно!");

bool failOpen(const QString& message) {
  ShowMessage(message);
  ClosePort();
  return false;
}

// Opens and sets up the device; name is what the messages call it.
bool openDevice(std::unique_ptr<SerialPortIo> port, const QString& path, const QString& name,
                int baud) {
  DeviceLinkRecord& link = DeviceLink;
  link.Port = std::move(port);
  if (path.isEmpty() || !link.Port->open(path)) {
    link.LastPortError = path.isEmpty() ? QStringLiteral("no device for %1").arg(name)
                                        : path + QStringLiteral(": ") + link.Port->errorText();
    link.Port.reset();
    ShowMessage(QStringLiteral("Не могу открыть ") + name + QLatin1Char('!'));
    return false;
  }
  link.LastPortError.clear();
  link.PortOpen = true;
  if (!link.Port->readLineSettings()) {
    ShowMessage(QStringLiteral("Ошибка чтения DCB ") + name + kButFine);
  }
  if (!link.Port->readTimeouts()) {
    ShowMessage(QStringLiteral("Ошибка чтения TimeOuts ") + name + kButFine);
  }
  link.LineSettingsBaud = baud;
  if (!link.Port->applyLineSettings(baud)) {
    return failOpen(
        QStringLiteral("Не могу установить параметры работы порта(DCB).\n\n"
                       "Извините программа работать не будет."));
  }
  link.Timeouts.readInterval = ReadIntervalTimeout(baud);
  WriteComLog(QStringLiteral("to.ReadIntervalTimeout=") +
              QString::number(link.Timeouts.readInterval));
  link.Timeouts.readTotalPerByte = ReadTotalTimeoutMultiplier(baud);
  WriteComLog(QStringLiteral("to.ReadTotalTimeoutMultiplier=") +
              QString::number(link.Timeouts.readTotalPerByte));
  if (!link.Port->applyTimeouts(link.Timeouts)) {
    return failOpen(
        QStringLiteral("Не могу установить таймауты порта.\n\n"
                       "Извините программа работать не будет."));
  }
  ResetLinkCounters();
  ++link.Opens;
  return true;
}

}  // namespace

int ReadIntervalTimeout(int baud) {
  return 8000 / baud + 20;
}
int ReadTotalTimeoutMultiplier(int baud) {
  return 16000 / baud + 20;
}

QString ComPortPath(int n) {
  if (n < 1 || n > kMaxComNumber)
    return {};
  const auto mapped = Settings.PortPaths.constFind(n);
  if (mapped != Settings.PortPaths.constEnd() && !mapped->isEmpty())
    return *mapped;
  return fixedPortPath(n);
}

QStringList EnumeratePorts() {
  // The fixed families list only what the system reports as a serial device:
  // /dev/ttyS* nodes exist even without hardware behind them.
  QSet<QString> present;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    present.insert(info.systemLocation());
  QStringList names;
  for (int n = 1; n <= kMaxComNumber; ++n) {
    const QString path = ComPortPath(n);
    const bool mapped = Settings.PortPaths.contains(n);
    if (mapped ? QFileInfo::exists(path) : present.contains(path))
      names << comName(n);
  }
  names.sort();
  return names;
}

bool OpenPort(int port, int baud) {
  DeviceLinkRecord& link = DeviceLink;
  if (baud <= 0 || port < 1 || link.PortOpen) {
    // No message here; the command line still says why.
    if (!link.PortOpen) {
      link.LastPortError = baud <= 0 ? QStringLiteral("no usable speed: %1 baud").arg(baud)
                                     : QStringLiteral("no port COM%1").arg(port);
    }
    return false;
  }
  return openDevice(CreateSerialPort(), ComPortPath(port), comName(port), baud);
}

bool OpenDemoPort(std::unique_ptr<SerialPortIo> port, int baud) {
  if (DeviceLink.PortOpen || baud <= 0)
    return false;
  const bool opened = openDevice(std::move(port), kDemoPortName, kDemoPortName, baud);
  DeviceLink.DemoCharger = opened;
  return opened;
}

bool OpenPortQuietly(int port, int baud, QString* why) {
  const MessageCapture capture;
  const bool opened = OpenPort(port, baud);
  if (!opened && why) {
    *why = DeviceLink.LastPortError.isEmpty() ? capture.messages().join(QLatin1Char(' '))
                                              : DeviceLink.LastPortError;
  }
  return opened;
}

bool ClosePort() {
  DeviceLinkRecord& link = DeviceLink;
  if (!link.PortOpen)
    return false;
  link.Port->restoreSettings();
  link.Port->close();
  link.Port.reset();
  link.PortOpen = false;
  link.DemoCharger = false;
  ResetLinkCounters();
  return true;
}

void Connect() {
  DeviceLinkRecord& link = DeviceLink;
  if (!link.PortOpen) {
    CurrentHost().choosePort();
    if (link.ChosenPort > 0) {
      Settings.COM = link.ChosenPort;
      OpenPort(Settings.COM, Settings.COMSpeed);
      if (!link.PortOpen)
        ShowMessage(comName(Settings.COM) + QStringLiteral(" не открылся!!!"));
    }
  }
  StatusRefresh();
}

void StatusRefresh() {
  CurrentHost().refreshStatus();
}

}  // namespace qv
