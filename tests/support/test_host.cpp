#include "tests/support/test_host.h"

#include <gtest/gtest.h>

using namespace qv;

TestHostState& TestHost() {
  static TestHostState state;
  return state;
}

namespace {

class ClearBeforeEachTest : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { TestHost() = TestHostState{}; }
};

}  // namespace

void InstallTestHost(Host& host) {
  InstallHost(&host);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ClearBeforeEachTest);
}
