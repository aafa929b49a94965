#include "memory/memory_image.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

#include "common/commands.h"
#include "common/cp1251.h"
#include "common/crc8.h"
#include "common/folders.h"
#include "common/host.h"
#include "common/messages.h"
#include "common/text.h"
#include "common/textfile.h"
#include "link/device_link.h"
#include "link/port.h"
#include "link/protocol.h"

namespace qv {

MemoryRecord MemoryImage;

namespace {

constexpr int kDumpLineBytes = 16;
// Control codes show as ".": a line break or tab in the character column
// would break the 69-character line.
constexpr uint8_t kFirstShownCode = 0x20;
// A single bad block is worth stepping over; this many in a row mean the
// charger is gone.
constexpr int kFailedBlocksToGiveUp = 3;

void yieldToUi() {
  CurrentHost().memoryReadProgress();
}

bool rangeFitsImage(int start, int count, int block) {
  if (block == 0 || block + kReadReplyOverhead > kFrameSize)
    return false;
  const int blocks = (count + block - 1) / block;
  return start + blocks * block <= kMemoryImageSize;
}

void buildReadRequest(int address, uint8_t block) {
  uint8_t* r = DeviceLink.Request;
  r[0] = U_ReadMemory;
  r[1] = static_cast<uint8_t>(address & 0xFF);
  r[2] = static_cast<uint8_t>(address >> 8);
  r[3] = block;
  r[4] = Crc8(r, 4);
  DeviceLink.RequestLength = kReadRequestLength;
}

// One block into the image; false, the image untouched, without a usable
// reply.
bool readBlock(int address, uint8_t block) {
  buildReadRequest(address, block);
  if (!SendCommand() || DeviceLink.Reply[0] != U_ReadMemory)
    return false;
  std::memcpy(MemoryImage.Bytes + address, DeviceLink.Reply + 4, block);
  return true;
}

// Image bytes [offset, offset + length) clipped to the image.
void clipToImage(int& offset, int& length) {
  offset = std::clamp(offset, 0, kMemoryImageSize);
  length = std::clamp(length, 0, kMemoryImageSize - offset);
}

}  // namespace

const MemoryArea* MemoryAreaNamed(const QString& name) {
  for (const MemoryArea& area : kMemoryAreas) {
    if (name == QLatin1String(area.name))
      return &area;
  }
  return nullptr;
}

void ClearMemoryImage() {
  std::memset(MemoryImage.Bytes, 0, sizeof MemoryImage.Bytes);
  MemoryImage.ReadProgress = 0;
  MemoryImage.FailedBlocks = 0;
}

bool ReadMemory(uint16_t start, uint16_t count, uint8_t block) {
  Connect();
  if (!DeviceLink.PortOpen || !rangeFitsImage(start, count, block))
    return false;
  const BackgroundHold hold;
  MemoryImage.FailedBlocks = 0;
  const int end = start + count;
  int failedInARow = 0;
  for (int address = start; address < end; address += block) {
    // Closed by another command between blocks, or a charger that stopped
    // answering: each further block would cost the full time-out for nothing.
    if (!DeviceLink.PortOpen || failedInARow == kFailedBlocksToGiveUp) {
      MemoryImage.FailedBlocks += (end - address + block - 1) / block;
      break;
    }
    if (count > 0)
      MemoryImage.ReadProgress = static_cast<double>(address - start) / count;
    if (readBlock(address, block)) {
      failedInARow = 0;
    } else {
      ++failedInARow;
      ++MemoryImage.FailedBlocks;
    }
    yieldToUi();
  }
  MemoryImage.ReadProgress = 0;
  yieldToUi();
  return true;
}

QString DumpFilePath() {
  return MemFolder() + QStringLiteral("fes.bin");
}

QByteArray DumpBytes(int offset, int length) {
  clipToImage(offset, length);
  return QByteArray(reinterpret_cast<const char*>(MemoryImage.Bytes) + offset, length);
}

bool SaveDump(const QString& fileName, int offset, int length) {
  if (QFileInfo::exists(fileName) &&
      !AskYesNo(QStringLiteral("Перезаписать имеющийся ") + fileName + QStringLiteral(" ?"))) {
    return false;
  }
  if (!WriteFileSafely(fileName, DumpBytes(offset, length))) {
    ShowMessage(QStringLiteral("Ошибка создания файла ") + fileName);
    return false;
  }
  return true;
}

bool LoadDump(const QString& fileName, int offset, int length) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    ShowMessage(QStringLiteral("Ошибка открытия файла ") + fileName);
    return false;
  }
  // No more of the file than fits.
  clipToImage(offset, length);
  LoadDumpBytes(file.read(length), offset, length);
  return true;
}

void LoadDumpBytes(const QByteArray& bytes, int offset, int length) {
  clipToImage(offset, length);
  std::memcpy(MemoryImage.Bytes + offset, bytes.constData(),
              std::min<qsizetype>(length, bytes.size()));
}

QString DumpLine(int address) {
  QString hex;
  QString chars;
  for (int i = 0; i < kDumpLineBytes; ++i) {
    const int at = address + i;
    const uint8_t byte = at < kMemoryImageSize ? MemoryImage.Bytes[at] : 0;
    hex += QLatin1Char(' ') + HexByte(byte);
    chars += byte < kFirstShownCode ? QChar(u'.') : Cp1251ToChar(byte);
  }
  return HexWord(address) + hex + QLatin1Char(' ') + chars;
}

}  // namespace qv
