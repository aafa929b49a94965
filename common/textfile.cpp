#include "common/textfile.h"

#include <QtGlobal>
#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <cerrno>
#include <csignal>

#include "common/cp1251.h"

namespace qv {

namespace {

enum class Written { Yes, No, NotHere };

// Unnamed temporary files are Linux's; elsewhere QSaveFile does the replace.
#if defined(Q_OS_LINUX) && defined(O_TMPFILE)

bool writeAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    done += n;
  }
  return true;
}

// A save names its file "<target>.~<process id>-<random>" just before moving
// it over the target.
constexpr char kNamingMark[] = ".~";

// A save killed between naming its file and moving it leaves that name; the
// next save of the same target removes those of processes that are gone.
void removeLeftovers(const QByteArray& target) {
  const QFileInfo info(QFile::decodeName(target));
  const QString prefix = info.fileName() + QLatin1String(kNamingMark);
  const QDir folder = info.absoluteDir();
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
    if (!name.startsWith(prefix))
      continue;
    bool ok = false;
    const qint64 pid = name.mid(prefix.size()).section(u'-', 0, 0).toLongLong(&ok);
    if (ok && pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 &&
        errno == ESRCH) {
      QFile::remove(folder.filePath(name));
    }
  }
}

// Gives the complete unnamed file a fresh name beside the target, then moves
// that name over the target.
bool nameAndReplace(int fd, const QByteArray& target) {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name = target + kNamingMark + QByteArray::number(::getpid()) + '-' +
                            QByteArray::number(QRandomGenerator::global()->generate(), 36);
    if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST)
        continue;
      return false;
    }
    if (::rename(name.constData(), target.constData()) == 0)
      return true;
    ::unlink(name.constData());
    return false;
  }
  return false;
}

// The new content goes into an unnamed file in the target's folder, so a
// crash part way leaves nothing behind (a named temporary file would stay
// for good); NotHere where the file system has no unnamed files.
Written writeThroughUnnamedFile(const QString& path, const QByteArray& bytes) {
  const QFileInfo info(path);
  const QString resolved = info.isSymLink() ? info.canonicalFilePath() : path;
  const QByteArray target = QFile::encodeName(resolved.isEmpty() ? path : resolved);
  const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
  // An existing file keeps its permissions, and one that may not be written
  // is not replaced.
  struct stat old = {};
  const bool exists = ::stat(target.constData(), &old) == 0;
  if (exists && (S_ISDIR(old.st_mode) || ::access(target.constData(), W_OK) != 0))
    return Written::No;
  const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
  if (fd < 0)
    return Written::NotHere;
  if (exists)
    ::fchmod(fd, old.st_mode & 07777);
  const bool done = writeAll(fd, bytes) && ::fsync(fd) == 0 && nameAndReplace(fd, target);
  ::close(fd);
  if (done)
    removeLeftovers(target);
  return done ? Written::Yes : Written::No;
}

#else

Written writeThroughUnnamedFile(const QString&, const QByteArray&) {
  return Written::NotHere;
}

#endif

}  // namespace

QString WithCrLf(const QString& text) {
  QString result;
  result.reserve(text.size() + text.size() / 16);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch == u'\r') {
      result += QStringLiteral("\r\n");
      if (i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
    } else if (ch == u'\n') {
      result += QStringLiteral("\r\n");
    } else {
      result += ch;
    }
  }
  return result;
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes) {
  const Written written = writeThroughUnnamedFile(path, bytes);
  if (written != Written::NotHere)
    return written == Written::Yes;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

bool WriteTextFile(const QString& path, const QString& text) {
  return WriteFileSafely(path, ToCp1251(WithCrLf(text)));
}

QString ReadTextFile(const QString& path, bool* ok) {
  QFile file(path);
  const bool opened = file.open(QIODevice::ReadOnly);
  if (ok)
    *ok = opened;
  if (!opened)
    return {};
  QString text = FromCp1251(file.readAll());
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

bool AppendToFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered))
    return false;
  // A line cut short by a crash stays as it is, but the next one starts on a
  // line of its own instead of finishing it.
  const qint64 size = file.size();
  QByteArray out = bytes;
  if (size > 0 && bytes.endsWith('\n') && file.seek(size - 1) && file.read(1) != "\n")
    out.prepend("\r\n");
  const bool written = file.write(out) == out.size();
  // Part of a line (a full disk) is taken back, for the same reason.
  if (!written)
    file.resize(size);
  file.close();
  return written;
}

}  // namespace qv
