#pragma once

#include <QByteArray>
#include <QString>
#include <csignal>
#include <deque>
#include <optional>

#include "sim/engine.h"
#include "sim/faults.h"
#include "sim/framer.h"
#include "sim/random.h"
#include "sim/statistics.h"

namespace qv::sim {

struct RunnerSettings {
  // Wire emulation: each byte takes 10 bits at this rate; 0 = off.
  int baud = 0;
  // Longest pause between two bytes of one request frame.
  double frameGapSeconds = 0.05;
  // A symlink made to the device, removed at exit; empty = none.
  QString linkPath;
  // Every exchange on stderr.
  bool trace = false;
  // Random bytes without pause in place of every reply, as from a line gone
  // wrong; requests are still read and counted.
  bool flood = false;
};

// Serves the engine on a pseudo-terminal. The slave side is put in raw mode
// and kept open here, so clients may close and reopen the port at will
// without the master ever seeing a hang-up. Replies are scheduled on absolute
// times: with wire emulation byte i of a reply is due (i + 1) byte times after
// the request's own bytes would have finished arriving, so lateness of one
// wake-up never adds up.
//
// A client that dies with the port open leaves the tty in exclusive mode
// (TIOCEXCL), and since the tty stays open here nobody but root could open it
// again; so opens and closes of the device are watched, and exclusive mode is
// cleared once no client has it open.
//
// Constructing it blocks SIGTERM, SIGINT and SIGHUP; they are taken only while
// run() waits, and end it.
class PtyRunner {
 public:
  PtyRunner(Engine& engine, FaultInjector& faults, const RunnerSettings& settings);
  ~PtyRunner();
  PtyRunner(const PtyRunner&) = delete;
  PtyRunner& operator=(const PtyRunner&) = delete;

  bool open(QString* error);
  QString devicePath() const { return devicePath_; }
  void run();
  Statistics statistics() const;

 private:
  struct OutByte {
    double due;
    char byte;
  };

  bool watchOpens(QString* error);
  void readOpens();
  bool makeLink(QString* error);
  void removeLink();
  void wait(double now);
  bool readInput(double now);
  void handleFrame(const Frame& frame, double now);
  void schedule(const QByteArray& bytes, double start);
  void writeDue(double now);
  void topUpFlood(double now);
  std::optional<double> nextWake() const;
  void trace(const char* direction, const QByteArray& bytes, const QString& note = {}) const;

  Engine& engine_;
  FaultInjector& faults_;
  RunnerSettings settings_;
  FrameAssembler framer_;
  double byteTime_;
  double clockStart_;
  int master_ = -1;
  int slave_ = -1;
  int watch_ = -1;
  int clients_ = 0;
  QString devicePath_;
  bool linkMade_ = false;
  double rxWire_ = 0;
  double txFree_ = 0;
  std::deque<OutByte> out_;
  bool outBlocked_ = false;
  SimRandom floodRandom_{1};  // every flood the same
  Statistics stats_;
  sigset_t savedMask_;
  sigset_t waitMask_;
  struct sigaction savedActions_[3];
};

}  // namespace qv::sim
