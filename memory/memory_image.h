#pragma once

#include <QString>
#include <cstdint>

namespace qv {

inline constexpr int kMemoryImageSize = 20480;
inline constexpr int kMemoryBlock = 64;
// The charger's whole address space: flash, EEPROM, RAM.
inline constexpr int kDumpLength = 0x4C00;

// The local image of the charger's memory and the progress of a read.
struct MemoryRecord {
  uint8_t Bytes[kMemoryImageSize] = {};
  double ReadProgress = 0;  // 0 <= p < 1 while a read runs, else 0
  int FailedBlocks = 0;     // blocks the last read did not get
};

extern MemoryRecord MemoryImage;

struct MemoryArea {
  const char* caption;
  const char* name;  // on the command line
  uint16_t first;
  uint16_t end;  // exclusive

  constexpr int size() const { return end - first; }
  constexpr int blocks() const { return size() / kMemoryBlock; }
};

inline constexpr MemoryArea kMemoryAreas[] = {
    {"FLASH (32k)", "flash", 0x0000, 0x4000},
    {"EEPROM (1k)", "eeprom", 0x4000, 0x4400},
    {"SRAM (2k)", "sram", 0x4400, 0x4C00},
    {"Всё (35k)", "all", 0x0000, 0x4C00},
};

// The area of that command-line name, or nothing.
const MemoryArea* MemoryAreaNamed(const QString& name);

void ClearMemoryImage();

// Reads count bytes from start in blocks into the image, the polling held
// off meanwhile. False when no port could be opened or the range does not fit
// the image.
// A block whose exchange fails keeps its previous bytes; three such blocks in
// a row or a port closed meanwhile end the read. FailedBlocks counts every
// block not read, the failed ones and those never asked for.
bool ReadMemory(uint16_t start, uint16_t count, uint8_t block);

// "MEM/fes.bin" under the program folder.
QString DumpFilePath();
// Image bytes [offset, offset + length) clipped to the image.
QByteArray DumpBytes(int offset, int length);
// Saves DumpBytes() to the file, asking before replacing an existing one.
// True when written.
bool SaveDump(const QString& fileName, int offset, int length);
// Up to length of the bytes into the image from offset on, clipped to it.
void LoadDumpBytes(const QByteArray& bytes, int offset, int length);
// LoadDumpBytes() of the file's bytes.
bool LoadDump(const QString& fileName, int offset, int length);

// One 69-character dump line of the 16 bytes from address: the address, the
// bytes in hexadecimal, then the bytes as Windows-1251 characters with the
// control codes 0 to 31 shown as ".".
QString DumpLine(int address);

}  // namespace qv
