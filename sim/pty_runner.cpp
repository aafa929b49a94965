#include "sim/pty_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "sim/protocol.h"

namespace qv::sim {

namespace {

constexpr int kStopSignals[3] = {SIGTERM, SIGINT, SIGHUP};
volatile std::sig_atomic_t stopRequested = 0;

void onStopSignal(int) {
  stopRequested = 1;
}

double now() {
  using namespace std::chrono;
  return duration<double>(steady_clock::now().time_since_epoch()).count();
}

QString systemError(const char* what) {
  return QString::fromLatin1(what) + QStringLiteral(": ") +
         QString::fromLocal8Bit(std::strerror(errno));
}

void closeOnExec(int fd) {
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

}  // namespace

PtyRunner::PtyRunner(Engine& engine, FaultInjector& faults, const RunnerSettings& settings)
    : engine_(engine),
      faults_(faults),
      settings_(settings),
      framer_(settings.frameGapSeconds),
      byteTime_(settings.baud > 0 ? 10.0 / settings.baud : 0.0),
      clockStart_(now()) {
  sigset_t stops;
  sigemptyset(&stops);
  for (int s : kStopSignals)
    sigaddset(&stops, s);
  sigprocmask(SIG_BLOCK, &stops, &savedMask_);
  waitMask_ = savedMask_;
  struct sigaction action = {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 3; ++i) {
    sigdelset(&waitMask_, kStopSignals[i]);
    sigaction(kStopSignals[i], &action, &savedActions_[i]);
  }
}

PtyRunner::~PtyRunner() {
  removeLink();
  if (watch_ >= 0)
    ::close(watch_);
  if (master_ >= 0)
    ::close(master_);
  if (slave_ >= 0)
    ::close(slave_);
  for (int i = 0; i < 3; ++i)
    sigaction(kStopSignals[i], &savedActions_[i], nullptr);
  sigprocmask(SIG_SETMASK, &savedMask_, nullptr);
}

bool PtyRunner::open(QString* error) {
  if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0) {
    *error = systemError("openpty");
    return false;
  }
  closeOnExec(master_);
  closeOnExec(slave_);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
  // No echo and no CR/LF translation, whatever a client sets or forgets.
  termios raw = {};
  if (::tcgetattr(slave_, &raw) != 0) {
    *error = systemError("tcgetattr");
    return false;
  }
  ::cfmakeraw(&raw);
  if (::tcsetattr(slave_, TCSANOW, &raw) != 0) {
    *error = systemError("tcsetattr");
    return false;
  }
  char name[256] = {};
  if (::ttyname_r(slave_, name, sizeof name) != 0) {
    *error = systemError("ttyname");
    return false;
  }
  devicePath_ = QString::fromLocal8Bit(name);
  if (!watchOpens(error))
    return false;
  return settings_.linkPath.isEmpty() || makeLink(error);
}

// Our own two descriptors were opened before the watch, so only clients count.
bool PtyRunner::watchOpens(QString* error) {
  watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (watch_ < 0 || ::inotify_add_watch(watch_, QFile::encodeName(devicePath_).constData(),
                                        IN_OPEN | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
    *error = systemError("inotify");
    return false;
  }
  return true;
}

void PtyRunner::readOpens() {
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(watch_, buffer, sizeof buffer);
    if (n <= 0)
      break;
    for (ssize_t at = 0; at < n;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      if (event->mask & IN_OPEN) {
        ++clients_;
        ++stats_.opens;
      } else if (clients_ > 0) {
        --clients_;
      }
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  if (clients_ == 0)
    ::ioctl(slave_, TIOCNXCL);
}

// A symlink left by a run that was killed is replaced; any other file is not.
bool PtyRunner::makeLink(QString* error) {
  const QByteArray link = QFile::encodeName(settings_.linkPath);
  const QFileInfo existing(settings_.linkPath);
  if (existing.isSymLink()) {
    ::unlink(link.constData());
  } else if (existing.exists()) {
    *error = settings_.linkPath + QStringLiteral(" exists and is not a symlink");
    return false;
  }
  if (::symlink(QFile::encodeName(devicePath_).constData(), link.constData()) != 0) {
    *error = systemError("symlink");
    return false;
  }
  linkMade_ = true;
  return true;
}

void PtyRunner::removeLink() {
  if (!linkMade_)
    return;
  linkMade_ = false;
  if (QFileInfo(settings_.linkPath).symLinkTarget() == QFileInfo(devicePath_).absoluteFilePath()) {
    ::unlink(QFile::encodeName(settings_.linkPath).constData());
  }
}

void PtyRunner::run() {
  stopRequested = 0;
  while (!stopRequested) {
    if (settings_.flood)
      topUpFlood(now());
    wait(now());
    const double t = now();
    if (!readInput(t))
      break;
    if (auto frame = framer_.expire(t))
      handleFrame(*frame, t);
    writeDue(t);
  }
  removeLink();
}

std::optional<double> PtyRunner::nextWake() const {
  std::optional<double> wake = framer_.deadline();
  if (!out_.empty() && !outBlocked_) {
    const double due = out_.front().due;
    if (!wake || due < *wake)
      wake = due;
  }
  return wake;
}

void PtyRunner::wait(double t) {
  pollfd fds[2] = {{master_, POLLIN, 0}, {watch_, POLLIN, 0}};
  if (outBlocked_)
    fds[0].events |= POLLOUT;
  timespec timeout = {};
  timespec* limit = nullptr;
  if (const auto wake = nextWake()) {
    const double left = std::max(0.0, *wake - t);
    timeout.tv_sec = static_cast<time_t>(left);
    timeout.tv_nsec = static_cast<long>((left - std::floor(left)) * 1e9);
    limit = &timeout;
  }
  if (::ppoll(fds, 2, limit, &waitMask_) <= 0)
    return;
  if (fds[0].revents & POLLOUT)
    outBlocked_ = false;
  if (fds[1].revents & POLLIN)
    readOpens();
}

bool PtyRunner::readInput(double t) {
  char buffer[512];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0 && errno == EAGAIN)
      return true;
    if (n <= 0) {
      std::fprintf(stderr, "qvsim: %s\n", qPrintable(systemError("read")));
      return false;
    }
    const QByteArray chunk(buffer, n);
    stats_.bytesReceived += n;
    rxWire_ = std::max(rxWire_, t) + static_cast<double>(n) * byteTime_;
    if (settings_.trace)
      trace("rx", chunk);
    for (const Frame& frame : framer_.feed(chunk, t))
      handleFrame(frame, t);
  }
}

void PtyRunner::handleFrame(const Frame& frame, double t) {
  ++stats_.requests;
  if (settings_.flood)
    return;
  QByteArray reply;
  if (frame.complete) {
    engine_.setClock(t - clockStart_);
    reply = engine_.reply(frame.bytes);
  } else {
    ++stats_.incomplete;
    reply = NotUnderstood();
  }
  const FaultedReply faulted = faults_.apply(reply);
  QString note;
  for (int i = 0; i < kFaultKinds; ++i) {
    if (faulted.applied[i])
      note += QLatin1Char(' ') + FaultName(static_cast<FaultKind>(i));
  }
  if (!frame.complete)
    note += QStringLiteral(" incomplete");
  if (settings_.trace)
    trace("tx", faulted.bytes, note);
  if (faulted.silent())
    return;
  ++stats_.replies;
  const double start = std::max({rxWire_, txFree_, t}) + faulted.delayMs / 1000.0;
  schedule(faulted.bytes, start);
}

void PtyRunner::schedule(const QByteArray& bytes, double start) {
  double due = start;
  for (char byte : bytes) {
    due += byteTime_;
    out_.push_back({due, byte});
  }
  txFree_ = due;
}

void PtyRunner::writeDue(double t) {
  while (!outBlocked_ && !out_.empty() && out_.front().due <= t) {
    char buffer[512];
    size_t count = 0;
    for (auto it = out_.begin(); it != out_.end() && it->due <= t && count < sizeof buffer; ++it) {
      buffer[count++] = it->byte;
    }
    const ssize_t n = ::write(master_, buffer, count);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0) {
      outBlocked_ = true;
      return;
    }
    out_.erase(out_.begin(), out_.begin() + n);
    stats_.bytesSent += n;
    if (static_cast<size_t>(n) < count)
      outBlocked_ = true;
  }
}

// Enough queued to fill the terminal's buffer; writeDue blocks on it when full.
void PtyRunner::topUpFlood(double t) {
  constexpr size_t kQueued = 4096;
  if (out_.size() >= kQueued)
    return;
  QByteArray bytes;
  while (out_.size() + static_cast<size_t>(bytes.size()) < kQueued) {
    const uint64_t word = floodRandom_.next();
    for (int k = 0; k < 8; ++k)
      bytes.append(static_cast<char>(word >> (8 * k)));
  }
  schedule(bytes, std::max(txFree_, t));
}

Statistics PtyRunner::statistics() const {
  Statistics s = stats_;
  s.unknown = engine_.unknownRequests();
  s.rejected = engine_.rejectedRequests();
  for (int i = 0; i < kFaultKinds; ++i)
    s.faults[i] = faults_.count(static_cast<FaultKind>(i));
  return s;
}

void PtyRunner::trace(const char* direction, const QByteArray& bytes, const QString& note) const {
  std::fprintf(stderr, "%.6f %s %s%s\n", now() - clockStart_, direction,
               bytes.toHex(' ').toUpper().constData(), qPrintable(note));
}

}  // namespace qv::sim
