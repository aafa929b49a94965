#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

#include "link/serial_port.h"

// What the fake charger sends back for one request: each chunk is what one
// read returns (an empty chunk is a read that times out).
using ReplyChunks = QList<QByteArray>;

// A scripted serial port: every write asks the responder for the reply.
// Installed as the port factory while it lives.
class FakePort {
 public:
  struct Failures {
    bool open = false;
    bool readLineSettings = false;
    bool readTimeouts = false;
    bool applyLineSettings = false;
    bool applyTimeouts = false;
    bool purge = false;
    bool write = false;
    bool readError = false;  // every read fails as if the device went away
  };

  FakePort();
  ~FakePort();

  std::function<ReplyChunks(const QByteArray& request)> responder;
  Failures fail;

  // Bytes that come in one go, as if sent unasked; a read takes at most one
  // such chunk, as a pause between them would end it on a real line.
  void arrive(const QByteArray& chunk) { pending_.push_back(chunk); }

  // Observations.
  QList<QByteArray> writes;
  QString openedDevice;
  int opens = 0;
  int closes = 0;
  int restores = 0;
  int purges = 0;
  int reads = 0;
  int appliedBaud = 0;
  qv::PortTimeouts appliedTimeouts;

 private:
  class Io;
  friend class Io;
  std::deque<QByteArray> pending_;
};

// A reply frame: code, payload, Crc8 of both.
QByteArray Frame(uint8_t code, const QByteArray& payload = {});
// The same frame with its checksum broken.
QByteArray BadFrame(uint8_t code, const QByteArray& payload = {});
