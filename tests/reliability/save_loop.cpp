// Saves one kind of file over and over with two alternating contents until it
// is killed; the crash test kills it at random points and looks at the file.
//
//   save_loop settings|macro|dump FOLDER          times one save, prints
//       "ready MICROSECONDS", then saves
//   save_loop settings|macro|dump FOLDER reference  saves A, copies it to
//       FOLDER/a.ref, saves B, copies it to FOLDER/b.ref, and exits
//   save_loop log FOLDER RUN                       appends numbered lines
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <cstdio>
#include <cstring>

#include "common/folders.h"
#include "common/host.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "macro/store.h"
#include "memory/memory_image.h"
#include "settings/settings.h"
#include "tests/reliability/save_loop.h"

using namespace qv;

namespace {

// Messages to stderr, every question answered Yes, the folder it is given.
class SaveLoopHost : public Host {
 public:
  explicit SaveLoopHost(const QString& folder) : folder_(folder) {}
  bool ask(const QString&) override { return true; }
  QString programFolder() override { return folder_; }

 private:
  QString folder_;
};

// Large enough that a save takes a while, different in length and content.
QString filler(int variant, int length) {
  return QString(length, variant == 0 ? u'a' : u'b');
}

bool saveSettings(int variant) {
  Settings.COM = variant + 1;
  Settings.DevPos = filler(variant, variant == 0 ? 30000 : 50000);
  return SaveSettings();
}

bool saveMacro(int variant) {
  QString text = QStringLiteral("MACRO(Soak);\n");
  for (int line = 0; line < (variant == 0 ? 2000 : 3000); ++line)
    text += QStringLiteral("   FAZE; // ") + filler(variant, 40) + u'\n';
  MacroEditor.Text = text;
  return SaveMacroIfChanged(true);
}

bool saveDump(int variant) {
  std::memset(MemoryImage.Bytes, variant == 0 ? 0xA5 : 0x5A, sizeof MemoryImage.Bytes);
  MemoryImage.Bytes[variant] = 0;
  return SaveDump(DumpFilePath(), 0, kDumpLength);
}

bool save(const QString& kind, int variant) {
  if (kind == QLatin1String("settings"))
    return saveSettings(variant);
  if (kind == QLatin1String("macro"))
    return saveMacro(variant);
  return saveDump(variant);
}

int reference(const QString& kind, const QString& folder) {
  const QString target = CrashTargetPath(kind, folder);
  for (int variant = 0; variant < 2; ++variant) {
    const QString copy = folder + QLatin1String(variant == 0 ? "a.ref" : "b.ref");
    QFile::remove(copy);
    if (!save(kind, variant) || !QFile::copy(target, copy))
      return 1;
  }
  return 0;
}

void ready(qint64 saveMicroseconds) {
  std::printf("ready %lld\n", static_cast<long long>(saveMicroseconds));
  std::fflush(stdout);
}

[[noreturn]] void logLines(const QString& run) {
  Settings.SaveComLog = true;
  ready(0);
  for (int line = 0;; ++line)
    WriteComLog(CrashLogLine(run, line));
}

// The killer picks its moment from how long a save takes in this build.
[[noreturn]] void saveForever(const QString& kind) {
  QElapsedTimer clock;
  clock.start();
  save(kind, 1);
  ready(clock.nsecsElapsed() / 1000);
  for (int variant = 0;; variant ^= 1)
    save(kind, variant);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3)
    return 2;
  const QString kind = QString::fromLatin1(argv[1]);
  const QString folder = QString::fromLocal8Bit(argv[2]) + u'/';
  SaveLoopHost host(folder);
  InstallHost(&host);
  CreateWorkingFolders();
  const QString mode = argc > 3 ? QString::fromLatin1(argv[3]) : QString();
  if (kind == QLatin1String("log"))
    logLines(mode);
  if (mode == QLatin1String("reference"))
    return reference(kind, folder);
  saveForever(kind);
}
