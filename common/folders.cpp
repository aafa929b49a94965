#include "common/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString& folderOverride() {
  static QString folder;
  return folder;
}

QString withSlash(QString folder) {
  if (!folder.endsWith(QLatin1Char('/')))
    folder += QLatin1Char('/');
  return folder;
}

}  // namespace

QString ProgramFolder() {
  if (!folderOverride().isEmpty())
    return folderOverride();
  if (QCoreApplication::instance())
    return withSlash(QCoreApplication::applicationDirPath());
  return withSlash(
      QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2));
}

void SetProgramFolder(const QString& folder) {
  folderOverride() = folder.isEmpty() ? QString() : withSlash(folder);
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
