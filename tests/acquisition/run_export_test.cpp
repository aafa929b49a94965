#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include "acquisition/run_export.h"
#include "tests/acquisition/hand_run.h"
#include "tests/support/temp_folder.h"

using namespace qv;

namespace {

const char kBom[] = "\xEF\xBB\xBF";

// Four samples half a minute apart from 23:59:30, the last one past midnight.
LoadedRun exampleRun() {
  LoadedRun run = RunOf({
      {0.0, 1.25, 13.91, 24.5, 30.1, -0.75, 17.39},
      {0.5, 1.25, 13.95, 24.6, 30.2, -0.74, 17.44},
      {1.0, 0.00, 13.20, 24.8, 30.4, -0.74, 0.00},
      {1.5, 2.00, 14.01, 25.0, 30.9, -0.73, 28.02},
  });
  run.name = ParseRunFileName(QStringLiteral("20240131_235930_1.gra"));
  return run;
}

const char* const kWallClock[] = {"2024-01-31 23:59:30", "2024-02-01 00:00:00",
                                  "2024-02-01 00:00:30", "2024-02-01 00:01:00"};

struct Style {
  const char* name;
  QLocale locale;
  QChar separator;
};

const Style kStyles[] = {
    {"Russian: decimal comma, fields by semicolon", QLocale(QLocale::Russian, QLocale::Russia),
     u';'},
    {"C: decimal point, fields by comma", QLocale::c(), u','},
};

QStringList rowsOf(const QByteArray& csv) {
  QStringList rows = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"));
  EXPECT_EQ(rows.takeLast(), QString()) << "the last row ends with CR LF";
  return rows;
}

TEST(RunExport, ReadsBackWithEitherSeparator) {
  const LoadedRun run = exampleRun();
  for (const Style& style : kStyles) {
    const QByteArray csv = RunCsv(run.series(), run.name.start, style.locale);
    EXPECT_TRUE(csv.startsWith(kBom)) << style.name;
    const QStringList rows = rowsOf(csv);
    ASSERT_EQ(rows.size(), 1 + run.count()) << style.name;
    EXPECT_EQ(rows[0], QStringList({"Дата и время", "Время (мин)", "I (А)", "V (В)", "T (°C)",
                                    "Tc (°C)", "E (Ач)", "P (Вт)", "R (Ом)", "dI/dt (А/с)",
                                    "dV/dt (В/с)", "dT/dt (°C/с)"})
                           .join(style.separator))
        << style.name;
    for (int k = 0; k < run.count(); ++k) {
      const QStringList fields = rows[k + 1].split(style.separator);
      ASSERT_EQ(fields.size(), 1 + kLogFields) << style.name << ": " << rows[k + 1].toStdString();
      EXPECT_EQ(fields[0], kWallClock[k]) << style.name;
      for (int field = 0; field < kLogFields; ++field) {
        bool ok = false;
        const double value = style.locale.toDouble(fields[field + 1], &ok);
        EXPECT_TRUE(ok) << style.name << ": " << fields[field + 1].toStdString();
        EXPECT_DOUBLE_EQ(value, run.columns[field][k]) << style.name << ": field " << field;
      }
    }
  }
}

TEST(RunExport, WithoutAStartTheDateColumnIsEmpty) {
  const LoadedRun run = exampleRun();
  const QStringList rows = rowsOf(RunCsv(run.series(), std::nullopt, QLocale::c()));
  ASSERT_EQ(rows.size(), 5);
  for (int k = 1; k < rows.size(); ++k) {
    const QStringList fields = rows[k].split(u',');
    ASSERT_EQ(fields.size(), 1 + kLogFields) << rows[k].toStdString();
    EXPECT_EQ(fields[0], QString()) << rows[k].toStdString();
  }
}

class RunExportFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  LoadedRun run = exampleRun();
};

TEST_F(RunExportFile, WritesTheTable) {
  const QString path = dir.filePath("run.csv");
  ASSERT_TRUE(WriteRunCsv(path, run.series(), run.name.start, QLocale::c()));
  EXPECT_EQ(ReadAll(path), RunCsv(run.series(), run.name.start, QLocale::c()));
}

// The export replaces a file whole: a program that has the earlier export
// open goes on reading it complete, and nothing else is left in the folder.
TEST_F(RunExportFile, ReplacesAnEarlierExportWhole) {
  const QString path = dir.filePath("run.csv");
  const QByteArray earlier(100000, 'x');
  WriteAll(path, earlier);
  QFile reader(path);
  ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
  ASSERT_TRUE(WriteRunCsv(path, run.series(), run.name.start, QLocale::c()));
  EXPECT_EQ(reader.readAll(), earlier);
  EXPECT_EQ(ReadAll(path), RunCsv(run.series(), run.name.start, QLocale::c()));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"run.csv"});
}

TEST_F(RunExportFile, FailsWhereNoFileCanBe) {
  const QString missingFolder = dir.filePath("missing/run.csv");
  EXPECT_FALSE(WriteRunCsv(missingFolder, run.series(), run.name.start, QLocale::c()));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
  QDir(dir.path()).mkdir("folder");
  EXPECT_FALSE(WriteRunCsv(dir.filePath("folder"), run.series(), run.name.start, QLocale::c()));
  EXPECT_TRUE(QFileInfo(dir.filePath("folder")).isDir());
}

}  // namespace
