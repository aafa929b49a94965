#pragma once

#include <gtest/gtest.h>
#include <QStringList>
#include <memory>

#include "tests/support/sim_process.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_host.h"

// The real port layer on the simulator's pseudo-terminal, mapped as COM1:
// a fresh program folder, default settings with the communication log on,
// recorded messages and a port dialog that chooses COM1.
class SimLinkTest : public ::testing::Test {
 protected:
  // Starts qvsim with the arguments and connects to it.
  void start(const QStringList& simArguments = {});
  void TearDown() override;

  // Today's communication log, each line without its time stamp.
  QStringList logLines() const;

  TempProgramFolder folder;
  std::unique_ptr<SimProcess> sim;
  QStringList& messages = TestHost().messages;
  bool& answer = TestHost().answer;  // to every question
};
