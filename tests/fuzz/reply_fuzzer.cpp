// The reply path on arbitrary bytes from the charger: Transact and
// SendCommand over a port that returns the input, then what QueryDevice and
// the memory read make of the reply. An accepted reply has passed its
// checksum, the shared state keeps its bounds, and a memory read writes only
// the blocks it asked for.
//
// Input: flags, the scenario's parameters, then what the port returns: per
// read a length byte and that many bytes (255 is a device error).
// flags: bits 0-1 scenario (0 SendCommand with a request from the input,
// 1 QueryDevice, 2 ReadMemory, 3 a single Transact), bit 2 communication
// log, bit 3 sample log, bits 4-5 samples already recorded (none, one, all
// but two, all but one).
#include <QDir>
#include <QFile>
#include <array>
#include <cstring>

#include "acquisition/query.h"
#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/commands.h"
#include "common/crc8.h"
#include "common/folders.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"
#include "memory/memory_image.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

constexpr uint8_t kDeviceError = 255;
constexpr uint8_t kQueryCodes[] = {U_GiveMeScr, U_WhoAreYou, U_GiveMeADC, U_DOWN,
                                   U_UP,        U_CANCEL,    U_OK};
constexpr int kRecordedCounts[] = {0, 1, kSeriesCapacity - 2, kSeriesCapacity - 1};
// A memory read of at most this many bytes, so that one input stays quick.
constexpr int kMaxReadCount = 256;

// What the port's latest read returned.
int lastReadCount = 0;

class InputPort final : public DevicelessPort {
 public:
  explicit InputPort(FuzzInput& input) : input_(input) {}

  bool purge() override { return true; }
  bool write(const uint8_t*, int count) override {
    fuzzCheck(count > 0 && count <= kFrameSize, "a request fits the frame");
    return true;
  }
  int read(uint8_t* bytes, int count) override {
    fuzzCheck(count >= 0 && count <= kFrameSize, "a read fits the reply frame");
    lastReadCount = take(bytes, count);
    return lastReadCount;
  }

 private:
  int take(uint8_t* bytes, int count) {
    if (input_.atEnd())
      return 0;
    const uint8_t length = input_.byte();
    if (length == kDeviceError)
      return -1;
    return static_cast<int>(input_.copyTo(bytes, std::min<size_t>(length, count)));
  }

  FuzzInput& input_;
};

void checkReplyShape() {
  const DeviceLinkRecord& link = DeviceLink;
  fuzzCheck(link.ReplyLength <= kFrameSize, "a reply fits the frame");
  fuzzCheck(link.ReplyLength == 0 || link.ReplyLength == ExpectedReplyLength(link.Reply[0]),
            "a reply has the length of its code");
}

void checkAccepted() {
  const DeviceLinkRecord& link = DeviceLink;
  checkReplyShape();
  fuzzCheck(link.ReplyLength >= 2, "an accepted reply has a code and a checksum");
  fuzzCheck(Crc8(link.Reply, link.ReplyLength - 1u) == link.Reply[link.ReplyLength - 1],
            "an accepted reply passed its checksum");
  fuzzCheck(lastReadCount >= link.ReplyLength, "an accepted reply came whole");
}

void sendRequest(FuzzInput& input, bool single, double now) {
  const int length = input.byte() % kFrameSize + 1;
  const QByteArray request = input.bytes(length);
  std::memset(DeviceLink.Request, 0, sizeof DeviceLink.Request);
  std::memcpy(DeviceLink.Request, request.constData(), request.size());
  DeviceLink.RequestLength = static_cast<uint8_t>(length);
  if (single) {
    Transact();
    checkReplyShape();
  } else if (SendCommand()) {
    checkAccepted();
    ApplyReply(now);
  }
}

void query(FuzzInput& input) {
  const uint8_t code = kQueryCodes[input.byte() % std::size(kQueryCodes)];
  int counts[2];
  for (int i = 0; i < 2; ++i)
    counts[i] = ChannelData[i].Count;
  QueryDevice(code);
  fuzzCheck(!ChargerState.Busy, "a query ends not busy");
  for (int i = 0; i < 2; ++i) {
    const int count = ChannelData[i].Count;
    // A run that begins starts its series again at sample 0.
    fuzzCheck(count == counts[i] || count == counts[i] + 1 || count == 1,
              "a query records at most one sample");
    fuzzCheck(count < kSeriesCapacity, "the live element stays inside the series");
  }
}

void readMemory(FuzzInput& input) {
  const int start = input.word() % (kMemoryImageSize + kMemoryBlock);
  const int count = input.word() % (kMaxReadCount + 1);
  const uint8_t block = input.byte();
  // Whole-image copies and compares: a check per byte would cost more than
  // the read itself.
  static const std::array<uint8_t, kMemoryImageSize> pattern = [] {
    std::array<uint8_t, kMemoryImageSize> bytes{};
    for (int i = 0; i < kMemoryImageSize; ++i)
      bytes[i] = static_cast<uint8_t>(i);
    return bytes;
  }();
  std::memcpy(MemoryImage.Bytes, pattern.data(), kMemoryImageSize);
  const bool started =
      ReadMemory(static_cast<uint16_t>(start), static_cast<uint16_t>(count), block);
  const int blocks = block == 0 ? 0 : (count + block - 1) / block;
  const int end = std::min(started ? start + blocks * block : start, kMemoryImageSize);
  const auto untouched = [&](int from, int to) {
    return from >= to ||
           std::memcmp(MemoryImage.Bytes + from, pattern.data() + from, to - from) == 0;
  };
  fuzzCheck(untouched(0, std::min(start, kMemoryImageSize)) && untouched(end, kMemoryImageSize),
            "a read writes its blocks only");
  if (started) {
    fuzzCheck(MemoryImage.FailedBlocks >= 0 && MemoryImage.FailedBlocks <= blocks,
              "failed blocks are blocks of the read");
  }
  fuzzCheck(MemoryImage.ReadProgress == 0, "a finished read shows no progress");
}

void setUpChannels(uint8_t flags, FuzzInput& input, double now) {
  ChargerState = ChargerRecord{};
  ChargerState.LastAdcTime = now - input.byte() / (24.0 * 60 * 60);
  for (ChannelRecord& channel : ChannelData) {
    channel.Count = kRecordedCounts[(flags >> 4) & 3];
    channel.State = input.byte() % 5;
    channel.StartTime = now - 1;
    channel.LogPath = (flags & 8) ? GraFolder() + QStringLiteral("fuzz.txt") : QString();
  }
}

// The port the link opens reads the current input.
class ReplyFuzzHost : public FuzzHost {
 public:
  std::unique_ptr<SerialPortIo> makeSerialPort() override {
    return std::make_unique<InputPort>(*input);
  }
  FuzzInput* input = nullptr;
};

ReplyFuzzHost host;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setUpFuzzProgramFolder(&host);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const uint8_t flags = input.byte();
  const double now = 45000 + input.word() / (24.0 * 60 * 60);
  host.clock = now;
  Settings.SaveComLog = (flags & 4) != 0;
  setUpChannels(flags, input, now);
  host.input = &input;
  fuzzCheck(OpenPort(1, 38400), "the port opens");

  switch (flags & 3) {
    case 0:
      sendRequest(input, false, now);
      break;
    case 1:
      query(input);
      break;
    case 2:
      readMemory(input);
      break;
    default:
      sendRequest(input, true, now);
      break;
  }

  ClosePort();
  host.input = nullptr;
  QFile::remove(ComLogPath(now));
  // Runs that began left their files and their notes.
  for (const QString& name : QDir(GraFolder()).entryList(QDir::Files))
    QFile::remove(GraFolder() + name);
  QFile::remove(SettingsFilePath());
  return 0;
}
