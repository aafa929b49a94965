#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "tests/support/printers.h"

// A fresh program folder for one test: the working folders are created in it
// and the program and executable folders point there until the object goes.
class TempProgramFolder {
 public:
  TempProgramFolder();
  ~TempProgramFolder();
  QString path() const { return folder_; }
  QString file(const QString& name) const { return folder_ + name; }

 private:
  QTemporaryDir dir_;
  QString folder_;
};

QByteArray ReadAll(const QString& path);
void WriteAll(const QString& path, const QByteArray& bytes);
