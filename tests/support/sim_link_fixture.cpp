#include "tests/support/sim_link_fixture.h"

#include "acquisition/shared_state.h"
#include "common/clock.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/device_link.h"
#include "link/port.h"
#include "tests/support/link_fixture.h"

using namespace qv;

void SimLinkTest::start(const QStringList& simArguments) {
  sim = std::make_unique<SimProcess>(simArguments);
  ASSERT_TRUE(sim->start());
  InitSharedState();
  Settings = SettingsRecord{};
  Settings.SaveComLog = true;
  Settings.PortPaths.insert(1, sim->devicePath());
  TestHost().choosePort = [] { DeviceLink.ChosenPort = 1; };
  Connect();
  ASSERT_TRUE(DeviceLink.PortOpen) << messages.join(' ').toStdString();
}

void SimLinkTest::TearDown() {
  ClosePort();
  Settings = SettingsRecord{};
}

QStringList SimLinkTest::logLines() const {
  return ComLogLines(Now());
}
