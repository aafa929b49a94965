// The dump loader with arbitrary bytes and range: the bytes land inside the
// range clipped to the image and nowhere else, the range gives the bytes back,
// and the dump lines keep their 69 characters. The bytes are loaded from
// memory; on a sample of the inputs also LoadDump and SaveDump through files.
// Input: offset (4 bytes), length (4 bytes), then the file.
#include <algorithm>
#include <cstring>

#include "memory/memory_image.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

// What the image holds before each load.
uint8_t before[kMemoryImageSize];

struct Range {
  int begin;
  int end;
};

// Where a load of size bytes lands.
Range loadedRange(int offset, int length, qsizetype size) {
  const int begin = std::clamp(offset, 0, kMemoryImageSize);
  const int end = begin + static_cast<int>(std::min<qsizetype>(
                              std::clamp(length, 0, kMemoryImageSize - begin), size));
  return {begin, end};
}

void resetImage() {
  std::memcpy(MemoryImage.Bytes, before, sizeof before);
}

void checkImage(Range r, const QByteArray& contents) {
  const uint8_t* image = MemoryImage.Bytes;
  fuzzCheck(std::memcmp(image, before, r.begin) == 0 &&
                std::memcmp(image + r.end, before + r.end, kMemoryImageSize - r.end) == 0,
            "the dump changes only the range");
  fuzzCheck(std::memcmp(image + r.begin, contents.constData(), r.end - r.begin) == 0,
            "the range holds the file's bytes");
}

void checkFiles(int offset, int length, const QByteArray& contents, Range r) {
  const QString path = DumpFilePath();
  writeFuzzFile(path, contents);
  resetImage();
  fuzzCheck(LoadDump(path, offset, length), "an existing dump loads");
  checkImage(r, contents);
  const QString copy = path + QStringLiteral(".copy");
  fuzzCheck(SaveDump(copy, r.begin, r.end - r.begin), "the range can be saved");
  fuzzCheck(readFuzzFile(copy) == contents.left(r.end - r.begin),
            "the saved range is the file's bytes");
  fuzzCheck(!LoadDump(path + QStringLiteral(".missing"), offset, length),
            "a missing dump does not load");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setUpFuzzProgramFolder();
  for (int i = 0; i < kMemoryImageSize; ++i)
    before[i] = static_cast<uint8_t>(i * 7 + 3);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput input(data, size);
  const int offset = input.integer();
  const int length = input.integer();
  const QByteArray contents = input.rest();
  const Range r = loadedRange(offset, length, contents.size());
  resetImage();
  LoadDumpBytes(contents, offset, length);
  checkImage(r, contents);
  fuzzCheck(DumpBytes(r.begin, r.end - r.begin) == contents.left(r.end - r.begin),
            "the range gives the file's bytes back");
  for (int address = r.begin - r.begin % 16; address < r.end && address < r.begin + 64;
       address += 16)
    fuzzCheck(DumpLine(address).size() == 69, "a dump line has 69 characters");
  if (isSampled(data, size))
    checkFiles(offset, length, contents, r);
  return 0;
}
