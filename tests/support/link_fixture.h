#pragma once

#include <gtest/gtest.h>
#include <QStringList>

#include "tests/support/fake_port.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"

// The communication log of the day, each line without its time stamp.
QStringList ComLogLines(double day);

// A fresh program folder, default settings with the communication log on, a
// clock that stands still unless a test moves it, recorded messages and
// questions, a counted status refresh and a fake port behind the link.
class LinkTest : public ::testing::Test {
 protected:
  LinkTest();
  ~LinkTest() override;

  // The day's communication log, each line without its time stamp.
  QStringList logLines() const;
  // Opens COM1 on the fake port; fails the test if that does not work.
  void openPort();

  TempProgramFolder folder;
  FakePort port;
  // The test host's, under short names.
  double& now;
  QStringList& messages;
  QStringList& questions;
  bool& answer;
  int& statusRefreshes;
};
