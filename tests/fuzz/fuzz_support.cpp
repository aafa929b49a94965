#include "tests/fuzz/fuzz_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/folders.h"

void fuzzCheck(bool holds, const char* property) {
  if (holds)
    return;
  std::fprintf(stderr, "property violated: %s\n", property);
  std::abort();
}

void setUpFuzzProgramFolder(FuzzHost* host) {
  static QTemporaryDir* folder = nullptr;
  if (folder)
    return;
  static FuzzHost defaultHost;
  if (!host)
    host = &defaultHost;
  folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/qv-fuzz-XXXXXX"));
  fuzzCheck(folder->isValid(), "a temporary program folder can be made");
  host->folder = folder->path() + QLatin1Char('/');
  InstallHost(host);
  CreateWorkingFolders();
  // The folder goes when the process ends normally; a finding keeps it.
  std::atexit([] { delete folder; });
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

QString textOfBytes(const uint8_t* data, size_t size) {
  return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}
