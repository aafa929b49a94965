#include <gtest/gtest.h>
#include <QCoreApplication>

#include "tests/support/test_host.h"

using namespace qv;

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  RecordingHost<Host> host;
  InstallTestHost(host);
  return RUN_ALL_TESTS();
}
