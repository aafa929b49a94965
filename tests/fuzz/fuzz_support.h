#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include "common/host.h"

// What the fuzz targets share. Inputs are read front to back, so that a
// starting input can be written by hand: a header of a few bytes, then the
// payload.

// Ends the run as a finding when a property does not hold.
void fuzzCheck(bool holds, const char* property);

// The fuzz targets' host: messages go nowhere, questions are answered Yes,
// the program folder is a temporary one and the clock says what the input
// says (the system's until then).
class FuzzHost : public qv::Host {
 public:
  void showMessage(const QString&) override {}
  bool ask(const QString&) override { return true; }
  QString programFolder() override { return folder; }
  double now() override { return clock ? *clock : qv::Host::now(); }

  QString folder;
  std::optional<double> clock;
};

// Installs HOST (the default FuzzHost when none is given) over a program
// folder in a temporary folder for the life of the process, with its working
// folders. The folder is in memory (/dev/shm) where the system has one.
void setUpFuzzProgramFolder(FuzzHost* host = nullptr);

// True for about one input in 16, the same ones every run. The dearest checks
// (through files, whole round trips) run on these only: on every input they
// would cost more than the rest of it and make the fuzzer crawl.
bool isSampled(const uint8_t* data, size_t size);

// Replaces the file with the bytes, or ends the run.
void writeFuzzFile(const QString& path, const QByteArray& bytes);
// The file's bytes; empty when it cannot be read.
QByteArray readFuzzFile(const QString& path);

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool atEnd() const { return at_ >= size_; }
  size_t left() const { return size_ - at_; }
  // 0 once the input is used up.
  uint8_t byte();
  // Low byte first.
  uint16_t word();
  int32_t integer();
  // Up to count bytes.
  QByteArray bytes(size_t count);
  QByteArray rest() { return bytes(left()); }
  // Up to count bytes into out, without a copy on the heap; how many.
  size_t copyTo(uint8_t* out, size_t count);

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

// Editor text from arbitrary bytes.
QString textOfBytes(const uint8_t* data, size_t size);
