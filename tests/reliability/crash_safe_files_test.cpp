// Files that survive a crash: a helper saves one kind of file over and over
// and is killed (SIGKILL) at random points; the file must then hold one of
// the two contents whole, and a log must hold whole lines only.
#include <gtest/gtest.h>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

#include "tests/reliability/save_loop.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kKills = 200;
// A log line takes microseconds; the helper runs up to this long.
constexpr int kMaxLogMicroseconds = 20000;
// A save is killed within this many save times of the helper being ready.
constexpr int kSavesPerRun = 3;

class CrashSafeFiles : public ::testing::Test {
 protected:
  QString folderFor(const QString& kind) {
    const QString folder = dir.path() + u'/' + kind + u'/';
    QDir().mkpath(folder);
    return folder;
  }

  // Runs the helper until it says it is ready, gives it a random time of up
  // to kSavesPerRun of its save times (up to kMaxLogMicroseconds for the
  // log, which reports none), and kills it.
  void runAndKill(const QStringList& arguments) {
    QProcess helper;
    helper.start(SAVE_LOOP_PATH, arguments);
    ASSERT_TRUE(helper.waitForStarted(5000));
    while (!helper.canReadLine() && helper.state() == QProcess::Running)
      helper.waitForReadyRead(5000);
    const QByteArray line = helper.readLine().trimmed();
    ASSERT_TRUE(line.startsWith("ready ")) << helper.readAllStandardError().toStdString();
    const qint64 saveMicroseconds = line.mid(6).toLongLong();
    const qint64 window =
        saveMicroseconds > 0 ? kSavesPerRun * saveMicroseconds : kMaxLogMicroseconds;
    std::uniform_int_distribution<qint64> delay(0, window);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    helper.kill();
    ASSERT_TRUE(helper.waitForFinished(5000));
    ASSERT_EQ(helper.exitStatus(), QProcess::CrashExit) << "the helper stopped by itself";
  }

  // The helper saves both contents once and keeps a copy of each.
  static void saveReferences(const QString& kind, const QString& folder) {
    QProcess helper;
    helper.start(SAVE_LOOP_PATH, {kind, folder, "reference"});
    ASSERT_TRUE(helper.waitForFinished(10000));
    ASSERT_EQ(helper.exitCode(), 0) << kind.toStdString();
  }

  static QStringList filesBeside(const QString& target) {
    return QDir(QFileInfo(target).path()).entryList(QDir::Files | QDir::Hidden);
  }

  QTemporaryDir dir;
  std::mt19937 random{6};
};

TEST_F(CrashSafeFiles, ReplacedFilesHoldOneWholeVersion) {
  for (const QString kind : {"settings", "macro", "dump"}) {
    const QString folder = folderFor(kind);
    saveReferences(kind, folder);
    const QByteArray a = ReadAll(folder + "a.ref");
    const QByteArray b = ReadAll(folder + "b.ref");
    ASSERT_FALSE(a.isEmpty());
    ASSERT_NE(a, b);
    const QString target = CrashTargetPath(kind, folder);
    const QStringList filesBefore = filesBeside(target);
    int held[2] = {};
    for (int kill = 0; kill < kKills; ++kill) {
      runAndKill({kind, folder});
      const QByteArray now = ReadAll(target);
      ASSERT_TRUE(now == a || now == b)
          << kind.toStdString() << ": kill " << kill << " left " << now.size() << " bytes";
      ++held[now == b ? 1 : 0];
    }
    // What the cut saves left behind goes with the next save.
    saveReferences(kind, folder);
    EXPECT_EQ(filesBeside(target), filesBefore) << kind.toStdString();
    std::printf("%s: %d kills, the file held the first content %d times, the second %d times\n",
                qPrintable(kind), kKills, held[0], held[1]);
    // Kills came at different points of the loop, whatever a save costs.
    EXPECT_GT(held[0], 0) << kind.toStdString();
    EXPECT_GT(held[1], 0) << kind.toStdString();
  }
}

// The log of every run, read back: each run's lines are numbered from 0
// without a gap and each one is whole, except that a run's last line may be
// cut short; it then stands alone on its line.
TEST_F(CrashSafeFiles, LogLosesAtMostTheLineBeingWritten) {
  const QString folder = folderFor("log");
  for (int run = 0; run < kKills; ++run)
    runAndKill({"log", folder, QString::number(run)});
  QByteArray log;
  const QString logFolder = folder + "LOG/";
  for (const QString& name : QDir(logFolder).entryList(QDir::Files, QDir::Name))
    log += ReadAll(logFolder + name);
  const QStringList lines = QString::fromLatin1(log).split(QStringLiteral("\r\n"));
  const QRegularExpression numbered(QStringLiteral("^run (\\d+) line (\\d+) "));
  int run = -1;
  int next = 0;
  int whole = 0;
  int cut = 0;
  bool runEnded = false;
  for (const QString& line : lines) {
    if (line.isEmpty())
      continue;
    const QString text = line.mid(9);
    const QRegularExpressionMatch match = numbered.match(text);
    const int r = match.captured(1).toInt();
    const int k = match.captured(2).toInt();
    if (!match.hasMatch() || text != CrashLogLine(QString::number(r), k)) {
      ++cut;
      runEnded = true;
      continue;
    }
    if (r != run || runEnded) {
      ASSERT_GT(r, run) << line.toStdString();
      ASSERT_EQ(k, 0) << line.toStdString();
      run = r;
    } else {
      ASSERT_EQ(k, next) << line.toStdString();
    }
    next = k + 1;
    runEnded = false;
    ++whole;
  }
  EXPECT_GT(whole, kKills);
  EXPECT_LE(cut, kKills);
  std::printf("log: %d kills, %d whole lines, %d lines cut short\n", kKills, whole, cut);
}

}  // namespace
