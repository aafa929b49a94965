// LoadDump with an arbitrary file and range: the bytes land inside the range
// clipped to the image and nowhere else, saving the range gives the file's
// bytes back, and the dump lines keep their 69 characters.
// Input: offset (4 bytes), length (4 bytes), then the file.
#include <QFile>
#include <cstring>

#include "memory/memory_image.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fillImage() {
  for (int i = 0; i < kMemoryImageSize; ++i)
    MemoryImage.Bytes[i] = static_cast<uint8_t>(i * 7 + 3);
}

bool imageUntouchedOutside(int begin, int end) {
  for (int i = 0; i < kMemoryImageSize; ++i) {
    if ((i < begin || i >= end) && MemoryImage.Bytes[i] != static_cast<uint8_t>(i * 7 + 3))
      return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setUpFuzzProgramFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const int offset = input.integer();
  const int length = input.integer();
  const QByteArray contents = input.rest();
  const QString path = DumpFilePath();
  {
    QFile file(path);
    fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "the dump file opens");
    file.write(contents);
  }
  fillImage();
  fuzzCheck(LoadDump(path, offset, length), "an existing dump loads");

  const int begin = std::clamp(offset, 0, kMemoryImageSize);
  const int end = begin + static_cast<int>(std::min<qsizetype>(
                              std::clamp(length, 0, kMemoryImageSize - begin), contents.size()));
  fuzzCheck(imageUntouchedOutside(begin, end), "the dump changes only the range");
  fuzzCheck(std::memcmp(MemoryImage.Bytes + begin, contents.constData(), end - begin) == 0,
            "the range holds the file's bytes");

  const QString copy = path + QStringLiteral(".copy");
  fuzzCheck(SaveDump(copy, begin, end - begin), "the range can be saved");
  fuzzCheck(readFile(copy) == contents.left(end - begin), "the saved range is the file's bytes");

  for (int address = begin - begin % 16; address < end && address < begin + 64; address += 16)
    fuzzCheck(DumpLine(address).size() == 69, "a dump line has 69 characters");
  fuzzCheck(!LoadDump(path + QStringLiteral(".missing"), offset, length),
            "a missing dump does not load");
  return 0;
}
