#include "tools/qvctl/soak_command.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

#include "acquisition/query.h"
#include "common/clock.h"
#include "common/commands.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"
#include "memory/memory_image.h"
#include "tools/qvctl/device_commands.h"
#include "tools/qvctl/options.h"

using namespace qv;

namespace {

enum Step { kMeasurement, kScreen, kMemory, kSteps };

constexpr const char* kStepNames[kSteps] = {"adc", "screen", "memory"};

// Mostly measurements, as a polling program makes them; a screen and a
// memory block in every round.
constexpr Step kRound[] = {kMeasurement, kScreen, kMeasurement, kMemory, kMeasurement};

struct Figures {
  qint64 exchanges = 0;
  qint64 commands = 0;
  qint64 accepted = 0;
  qint64 failed = 0;
  qint64 retries = 0;
  qint64 bytesSent = 0;
  qint64 bytesReceived = 0;
  qint64 opens = 0;
  qint64 longestMs[kSteps] = {};
};

// A single-byte command as QueryDevice sends it; the caller applies the reply
// or closes the port, after reading the counters that closing clears.
bool query(uint8_t code) {
  DeviceLink.Request[0] = code;
  DeviceLink.RequestLength = 1;
  return SendCommand();
}

bool memoryBlock(int& address) {
  ReadMemory(static_cast<uint16_t>(address), kMemoryBlock, kMemoryBlock);
  address = (address + kMemoryBlock) % kDumpLength;
  return MemoryImage.FailedBlocks == 0;
}

void print(const char* key, qint64 value) {
  std::printf("%s %lld\n", key, static_cast<long long>(value));
}

void printFigures(const Figures& f) {
  print("exchanges", f.exchanges);
  print("commands", f.commands);
  print("accepted", f.accepted);
  print("failed", f.failed);
  print("retries", f.retries);
  print("bytes.sent", f.bytesSent);
  print("bytes.received", f.bytesReceived);
  print("port.opens", f.opens);
  for (int step = 0; step < kSteps; ++step) {
    const QByteArray key = QByteArray("longest.") + kStepNames[step] + ".ms";
    print(key.constData(), f.longestMs[step]);
  }
  std::fflush(stdout);
}

}  // namespace

int RunSoak(const QStringList& arguments) {
  qint64 wanted = 1000;
  bool ok = arguments.size() == 2 && arguments[0] == QLatin1String("--exchanges");
  if (ok)
    wanted = arguments[1].toLongLong(&ok);
  if (!arguments.isEmpty() && (!ok || wanted < 1)) {
    std::fputs("qvctl: soak takes --exchanges N (1 or more)\n", stderr);
    return kExitUsage;
  }
  Figures f;
  int address = 0;
  for (size_t i = 0; f.exchanges < wanted; i = (i + 1) % std::size(kRound)) {
    if (!DeviceLink.PortOpen) {
      if (!OpenChargerPort()) {
        printFigures(f);
        return kExitPort;
      }
      ++f.opens;
    }
    const Step step = kRound[i];
    const int retriesBefore = DeviceLink.Retries;
    const int sentBefore = DeviceLink.BytesSent;
    const int receivedBefore = DeviceLink.BytesReceived;
    QElapsedTimer clock;
    clock.start();
    const bool done = step == kMeasurement ? query(U_GiveMeADC)
                      : step == kScreen    ? query(U_GiveMeScr)
                                           : memoryBlock(address);
    qint64& longest = f.longestMs[step];
    longest = std::max(longest, clock.elapsed());
    const int retries = DeviceLink.Retries - retriesBefore;
    f.retries += retries;
    f.bytesSent += DeviceLink.BytesSent - sentBefore;
    f.bytesReceived += DeviceLink.BytesReceived - receivedBefore;
    // A command that ran out of attempts counts one retry more than it made.
    f.exchanges += std::min(retries + 1, kMaxAttempts);
    ++f.commands;
    ++(done ? f.accepted : f.failed);
    if (step == kMemory)
      continue;  // the memory read keeps the port open, as in the program
    if (done)
      ApplyReply(Now());
    else
      ClosePort();
  }
  printFigures(f);
  return kExitOk;
}
