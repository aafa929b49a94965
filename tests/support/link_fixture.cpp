#include "tests/support/link_fixture.h"

#include "common/clock.h"
#include "common/cp1251.h"
#include "common/messages.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "link/device_link.h"
#include "link/port.h"

using namespace qv;

LinkTest::LinkTest()
    : now(TestHost().now.emplace(DateTimeToDays(QDateTime(QDate(2024, 1, 31), QTime(10, 15, 2))))),
      messages(TestHost().messages),
      questions(TestHost().questions),
      answer(TestHost().answer = true),
      statusRefreshes(TestHost().statusRefreshes) {
  ClosePort();
  DeviceLink.ChosenPort = 0;
  ResetLinkCounters();
  Settings = SettingsRecord{};
  Settings.SaveComLog = true;
}

LinkTest::~LinkTest() {
  ClosePort();
  Settings = SettingsRecord{};
}

QStringList LinkTest::logLines() const {
  return ComLogLines(now);
}

QStringList ComLogLines(double day) {
  const QString text = FromCp1251(ReadAll(ComLogPath(day)));
  QStringList lines = text.split(QStringLiteral("\r\n"));
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  for (QString& line : lines)
    line = line.mid(9);  // "hh:nn:ss "
  return lines;
}

void LinkTest::openPort() {
  ASSERT_TRUE(OpenPort(1, 38400));
}
