#include "tests/support/temp_folder.h"

#include <QFile>

#include "common/folders.h"
#include "tests/support/test_host.h"

using namespace qv;

TempProgramFolder::TempProgramFolder() : folder_(dir_.path() + QLatin1Char('/')) {
  TestHost().programFolder = folder_;
  TestHost().executableFolder = folder_;
  CreateWorkingFolders();
}

TempProgramFolder::~TempProgramFolder() {
  TestHost().programFolder.clear();
  TestHost().executableFolder.clear();
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
