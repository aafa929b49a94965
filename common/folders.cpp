#include "common/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "common/host.h"

namespace qv {

namespace {

// The program folder found without a home, once per executable folder the
// host names (the running one never changes): every log line asks for it.
struct ChosenFolder {
  QString namedExecutable;
  QString chosen;
};

ChosenFolder& chosenFolder() {
  static ChosenFolder c;
  return c;
}

QString withSlash(QString folder) {
  if (!folder.endsWith(QLatin1Char('/')))
    folder += QLatin1Char('/');
  return folder;
}

QString orNothing(const QString& folder) {
  return folder.isEmpty() ? QString() : withSlash(folder);
}

QString runningExecutableFolder() {
  if (QCoreApplication::instance())
    return withSlash(QCoreApplication::applicationDirPath());
  return withSlash(
      QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2));
}

// An installed executable's folder is not the user's to write: the program
// then keeps its files in the user's data folder.
QString chooseProgramFolder() {
  const QString executable = ExecutableFolder();
  if (IsWritableFolder(executable))
    return executable;
  const QString user = UserDataFolder();
  QDir().mkpath(user);
  return user;
}

}  // namespace

QString ExecutableFolder() {
  const QString set = orNothing(CurrentHost().executableFolder());
  return set.isEmpty() ? runningExecutableFolder() : set;
}

QString InstalledDataFolder() {
  return withSlash(QDir::cleanPath(ExecutableFolder() + QStringLiteral(QV_DATA_FROM_BIN)));
}

bool IsWritableFolder(const QString& folder) {
  QTemporaryFile probe(withSlash(folder) + QStringLiteral(".qv20-probe-XXXXXX"));
  return probe.open();
}

QString UserDataFolder() {
  // The AppDataLocation of "qv20" (no organisation), built from the generic
  // location so that every tool reaches the program's folder, not its own.
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/qv20/");
}

QString ProgramFolder() {
  const QString home = orNothing(CurrentHost().programFolder());
  if (!home.isEmpty())
    return home;
  ChosenFolder& c = chosenFolder();
  const QString namedExecutable = CurrentHost().executableFolder();
  if (c.chosen.isEmpty() || c.namedExecutable != namedExecutable) {
    c.chosen = chooseProgramFolder();
    c.namedExecutable = namedExecutable;
  }
  return c.chosen;
}

QString SettingsFilePath() {
  return ProgramFolder() + QStringLiteral("qv20.ini");
}

QString LogFolder() {
  return ProgramFolder() + QStringLiteral("LOG/");
}
QString GraFolder() {
  return ProgramFolder() + QStringLiteral("GRA/");
}
QString MacroFolder() {
  return ProgramFolder() + QStringLiteral("QVML/");
}
QString MemFolder() {
  return ProgramFolder() + QStringLiteral("MEM/");
}

void CreateWorkingFolders() {
  for (const QString& folder : {LogFolder(), GraFolder(), MacroFolder(), MemFolder()}) {
    if (!QFileInfo::exists(folder))
      QDir().mkdir(folder);
  }
}

}  // namespace qv
