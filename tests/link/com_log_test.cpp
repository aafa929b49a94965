#include <gtest/gtest.h>
#include <QDir>

#include "common/clock.h"
#include "common/folders.h"
#include "common/settings_record.h"
#include "link/com_log.h"
#include "tests/support/link_fixture.h"

using namespace qv;

namespace {

using ComLog = LinkTest;

TEST_F(ComLog, OffWritesNoFile) {
  Settings.SaveComLog = false;
  WriteComLog("x");
  EXPECT_TRUE(QDir(LogFolder()).entryList(QDir::Files).isEmpty());
}

TEST_F(ComLog, LinesCarryTheTimeAndAreWindows1251) {
  WriteComLog("U_OK: Кнопка ОК нажата");
  now += 1.0 / 86400;
  WriteComLog("Timeout!");
  EXPECT_EQ(ComLogPath(now), LogFolder() + "20240131.txt");
  EXPECT_EQ(
      ReadAll(ComLogPath(now)),
      QByteArray("10:15:02 U_OK: \xCA\xED\xEE\xEF\xEA\xE0 \xCE\xCA \xED\xE0\xE6\xE0\xF2\xE0\r\n"
                 "10:15:03 Timeout!\r\n"));
}

TEST_F(ComLog, FirstLineAfterMidnightStartsANewFile) {
  now = DateTimeToDays(QDateTime(QDate(2024, 1, 31), QTime(23, 59, 59)));
  WriteComLog("before");
  now += 2.0 / 86400;
  WriteComLog("after");
  EXPECT_EQ(ReadAll(LogFolder() + "20240131.txt"), "23:59:59 before\r\n");
  EXPECT_EQ(ReadAll(LogFolder() + "20240201.txt"), "00:00:01 after\r\n");
}

TEST_F(ComLog, MissingFolderLosesTheLineSilently) {
  QDir(LogFolder()).removeRecursively();
  WriteComLog("lost");
  EXPECT_FALSE(QDir(LogFolder()).exists());
  EXPECT_TRUE(messages.isEmpty());
}

}  // namespace
