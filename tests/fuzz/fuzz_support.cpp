#include "tests/fuzz/fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/folders.h"

using namespace qv;

void fuzzCheck(bool holds, const char* property) {
  if (holds)
    return;
  std::fprintf(stderr, "property violated: %s\n", property);
  std::abort();
}

namespace {

QString temporaryFolder() {
  const QFileInfo memory(QStringLiteral("/dev/shm"));
  return memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
}

}  // namespace

void setUpFuzzProgramFolder(FuzzHost* host) {
  static QTemporaryDir* folder = nullptr;
  if (folder)
    return;
  static FuzzHost defaultHost;
  if (!host)
    host = &defaultHost;
  folder = new QTemporaryDir(temporaryFolder() + QStringLiteral("/qv-fuzz-XXXXXX"));
  fuzzCheck(folder->isValid(), "a temporary program folder can be made");
  host->folder = folder->path() + QLatin1Char('/');
  InstallHost(host);
  CreateWorkingFolders();
  // The folder goes when the process ends normally; a finding keeps it.
  std::atexit([] { delete folder; });
}

bool isSampled(const uint8_t* data, size_t size) {
  // FNV-1a: cheap, and the same on every machine. Its top bits depend on
  // every bit of the input, its low ones on the low bits only.
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < size; ++i)
    hash = (hash ^ data[i]) * 16777619u;
  return hash >> 28 == 0;
}

void writeFuzzFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  fuzzCheck(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "a file to read can be made");
  fuzzCheck(file.write(bytes) == bytes.size(), "a file to read can be written");
}

QByteArray readFuzzFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

uint8_t FuzzInput::byte() {
  return atEnd() ? 0 : data_[at_++];
}

uint16_t FuzzInput::word() {
  const uint8_t low = byte();
  return static_cast<uint16_t>(low | byte() << 8);
}

int32_t FuzzInput::integer() {
  const uint32_t low = word();
  return static_cast<int32_t>(low | static_cast<uint32_t>(word()) << 16);
}

QByteArray FuzzInput::bytes(size_t count) {
  const size_t n = std::min(count, left());
  const QByteArray taken(reinterpret_cast<const char*>(data_ + at_), static_cast<qsizetype>(n));
  at_ += n;
  return taken;
}

size_t FuzzInput::copyTo(uint8_t* out, size_t count) {
  const size_t n = std::min(count, left());
  std::memcpy(out, data_ + at_, n);
  at_ += n;
  return n;
}

QString textOfBytes(const uint8_t* data, size_t size) {
  return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
