#include <gtest/gtest.h>
#include <QApplication>
#include <QLocale>

#include "tests/support/test_host.h"
#include "ui/main/program_host.h"

using namespace qv;

int main(int argc, char** argv) {
  // Windows are tested offscreen unless a display is asked for explicitly.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QLocale::setDefault(QLocale::c());
  ::testing::InitGoogleTest(&argc, argv);
  RecordingHost<ProgramHost> host;
  InstallTestHost(host);
  return RUN_ALL_TESTS();
}
