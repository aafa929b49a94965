#include "tests/support/temp_folder.h"

#include <QFile>

#include "common/folders.h"

TempProgramFolder::TempProgramFolder() : folder_(dir_.path() + QLatin1Char('/')) {
  SetProgramFolder(folder_);
  SetExecutableFolder(folder_);
  CreateWorkingFolders();
}

TempProgramFolder::~TempProgramFolder() {
  SetProgramFolder(QString());
  SetExecutableFolder(QString());
}

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return file.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly))
    file.write(bytes);
}
