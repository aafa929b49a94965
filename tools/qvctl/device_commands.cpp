#include "tools/qvctl/device_commands.h"

#include <unistd.h>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "acquisition/polling.h"
#include "acquisition/query.h"
#include "acquisition/recording.h"
#include "acquisition/sample_log.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/commands.h"
#include "common/cp1251.h"
#include "common/folders.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "memory/memory_image.h"
#include "settings/settings.h"
#include "tools/qvctl/poll_schedule.h"
#include "tools/qvctl/qvctl_host.h"

using namespace qv;

namespace {

// A device path from --port: it stands in for the configured COM number, and
// the messages name it as the user gave it.
QString givenPortPath;

const QString kNoReply =
    QStringLiteral("no usable reply from the charger (silent, bad checksums or not understood)");

// A query that failed closes the port.
bool query(uint8_t code) {
  QueryDevice(code);
  if (DeviceLink.PortOpen)
    return true;
  PrintError(kNoReply);
  return false;
}

// The core calls the port "COM" + the configured number.
QString namingTheGivenPort(QString message) {
  if (givenPortPath.isEmpty())
    return message;
  const QRegularExpression configured(QStringLiteral("\\bCOM%1\\b").arg(Settings.COM));
  return message.replace(configured, givenPortPath);
}

void printScreen() {
  for (int row = 0; row < kScreenRows; ++row) {
    const QByteArray cells(reinterpret_cast<const char*>(ScreenImage.Chars) + row * kScreenColumns,
                           kScreenColumns);
    PrintLine(FromCp1251(cells));
  }
  const int cursor = ScreenImage.CursorPos;
  if (cursor < kScreenCells) {
    PrintLine(QStringLiteral("cursor: %1 (row %2, column %3)")
                  .arg(cursor)
                  .arg(cursor / kScreenColumns)
                  .arg(cursor % kScreenColumns));
  } else {
    PrintLine(QStringLiteral("cursor: none"));
  }
}

int screenAfter(uint8_t code) {
  if (!OpenChargerPort())
    return kExitPort;
  if (!query(code))
    return kExitNoReply;
  printScreen();
  return kExitOk;
}

void waitUntil(const QElapsedTimer& clock, qint64 ms) {
  const qint64 wait = ms - clock.elapsed();
  if (wait > 0)
    QThread::msleep(static_cast<unsigned long>(wait));
}

}  // namespace

void PrintLine(const QString& text) {
  std::fputs(text.toUtf8().constData(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

void PrintError(const QString& text) {
  QString line = text;
  line.replace(QLatin1Char('\n'), QLatin1Char(' '));
  std::fprintf(stderr, "qvctl: %s\n", line.simplified().toUtf8().constData());
}

bool OpenChargerPort() {
  QStringList& messages = TheQvctlHost().messages;
  messages.clear();
  Connect();
  if (DeviceLink.PortOpen)
    return true;
  QString why = namingTheGivenPort(messages.join(QStringLiteral(" ")));
  if (why.isEmpty())
    why = QStringLiteral("no port to open (COM%1)").arg(Settings.COM);
  if (!DeviceLink.LastPortError.isEmpty())
    why += QStringLiteral(" (") + DeviceLink.LastPortError + QLatin1Char(')');
  PrintError(why);
  return false;
}

void PrepareDevice(const Options& options) {
  QvctlHost& host = TheQvctlHost();
  host.home = options.home;
  host.answerYes = options.yes;
  InstallHost(&host);
  InitSharedState();
  LoadSettings();
  Settings.SaveComLog = Settings.SaveComLog || options.log;
  if (options.baud > 0)
    Settings.COMSpeed = options.baud;
  if (Settings.COM < 1)
    Settings.COM = 1;
  if (options.comNumber > 0) {
    Settings.COM = options.comNumber;
  } else if (!options.port.isEmpty()) {
    givenPortPath = options.port;
    Settings.PortPaths.insert(Settings.COM, givenPortPath);
  }
}

int RunIdentify() {
  if (!OpenChargerPort())
    return kExitPort;
  if (!query(U_WhoAreYou))
    return kExitNoReply;
  if (ChargerState.VersionText.isEmpty()) {
    PrintError(QStringLiteral("the charger did not answer with its version"));
    return kExitNoReply;
  }
  PrintLine(ChargerState.VersionText);
  if (ChargerState.DeviceIdentified)
    return kExitOk;
  PrintError(kUnsupportedChargerText);
  return kExitUnsupported;
}

int IdentifyOrExplain() {
  if (IdentifyCharger())
    return kExitOk;
  const QString& version = ChargerState.VersionText;
  if (version.isEmpty() || IsSupportedVersion(version)) {
    PrintError(kNoReply);
    return kExitNoReply;
  }
  PrintError(kUnsupportedChargerText);
  return kExitUnsupported;
}

int RunScreen() {
  return screenAfter(U_GiveMeScr);
}

int RunPress(const QStringList& arguments) {
  static const QMap<QString, uint8_t> buttons = {{QStringLiteral("cancel"), U_CANCEL},
                                                 {QStringLiteral("down"), U_DOWN},
                                                 {QStringLiteral("up"), U_UP},
                                                 {QStringLiteral("ok"), U_OK}};
  if (arguments.size() != 1 || !buttons.contains(arguments[0])) {
    PrintError(QStringLiteral("press needs one of: cancel down up ok"));
    return kExitUsage;
  }
  return screenAfter(buttons.value(arguments[0]));
}

int RunPoll(const QStringList& arguments) {
  double interval = 1;
  int count = 0;  // 0: until interrupted
  for (int i = 0; i < arguments.size(); ++i) {
    bool ok = i + 1 < arguments.size();
    if (ok && arguments[i] == QLatin1String("--interval")) {
      interval = arguments[++i].toDouble(&ok);
      ok = ok && interval >= 0;
    } else if (ok && arguments[i] == QLatin1String("--count")) {
      count = arguments[++i].toInt(&ok);
      ok = ok && count >= 0;
    } else {
      ok = false;
    }
    if (!ok) {
      PrintError(QStringLiteral("poll takes --interval SECONDS and --count N"));
      return kExitUsage;
    }
  }
  if (!OpenChargerPort())
    return kExitPort;
  SetRecordingEnabled(false);  // watching only: no runs, no files
  const double start = Now();
  for (ChannelRecord& channel : ChannelData)
    channel.StartTime = start;
  const qint64 intervalMs = std::llround(interval * 1000);
  QElapsedTimer sinceFirst;
  sinceFirst.start();
  PollSlot slot{0, 0};
  for (int n = 0; count == 0 || n < count; ++n) {
    if (n > 0) {
      slot = NextPollSlot(slot.index, sinceFirst.elapsed(), intervalMs);
      waitUntil(sinceFirst, slot.atMs);
    }
    int before[2] = {ChannelData[0].Count, ChannelData[1].Count};
    if (!query(U_GiveMeADC))
      return kExitNoReply;
    for (int i = 0; i < 2; ++i) {
      const ChannelRecord& channel = ChannelData[i];
      const int k = channel.Count > before[i] ? channel.Count - 1 : channel.Count;
      PrintLine(
          QStringLiteral("Ch%1 %2 ").arg(i + 1).arg(StateLetters(ChargerState.StatusBits, i)) +
          SampleLine(channel, k));
    }
  }
  return kExitOk;
}

int RunReadMemory(const QStringList& arguments) {
  const MemoryArea* area = nullptr;
  QString out;
  for (int i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == QLatin1String("--out") && i + 1 < arguments.size()) {
      out = arguments[++i];
    } else if (const MemoryArea* named = MemoryAreaNamed(arguments[i])) {
      area = named;
    }
  }
  if (!area || out.isEmpty()) {
    PrintError(QStringLiteral("read-memory needs flash|eeprom|sram|all and --out FILE"));
    return kExitUsage;
  }
  if (!OpenChargerPort())
    return kExitPort;
  const int blocks = area->blocks();
  TheQvctlHost().memoryBlocks = blocks;
  const bool read = ReadMemory(area->first, static_cast<uint16_t>(area->size()), kMemoryBlock);
  TheQvctlHost().memoryBlocks = 0;
  if (isatty(STDERR_FILENO))
    std::fputc('\n', stderr);
  // A dump of nothing but the zeros the image starts with would pass for
  // the charger's memory.
  if (!read || MemoryImage.FailedBlocks == blocks) {
    PrintError(kNoReply + QStringLiteral("; ") + out + QStringLiteral(" not written"));
    return kExitNoReply;
  }
  QStringList& messages = TheQvctlHost().messages;
  messages.clear();
  if (!SaveDump(out, 0, kDumpLength)) {
    PrintError(messages.isEmpty() ? out + QStringLiteral(" exists and was not replaced (add --yes)")
                                  : messages.join(QStringLiteral(" ")));
    return kExitFile;
  }
  if (MemoryImage.FailedBlocks > 0) {
    PrintError(QStringLiteral("%1 of %2 blocks could not be read; the file holds zeros for them")
                   .arg(MemoryImage.FailedBlocks)
                   .arg(blocks));
    return kExitNoReply;
  }
  return kExitOk;
}
