#include <gtest/gtest.h>
#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "acquisition/run_file.h"
#include "common/clock.h"
#include "tests/acquisition/hand_run.h"
#include "tests/support/temp_folder.h"

using namespace qv;

namespace {

// Sample k of the runs below: every value has two decimals, so the text the
// recorder writes reads back exactly; the capacity turns negative.
HandSample sampleNo(int k) {
  return {k * 0.5, 1 + k * 0.01, 14 + k * 0.01, 25.1, 30, -0.5 + k * 0.25, 14.5 - k * 0.01};
}

QByteArray linesOf(int first, int count) {
  QByteArray bytes;
  for (int k = first; k < first + count; ++k)
    bytes += LogLine(sampleNo(k));
  return bytes;
}

// The run holds samples 0 .. count-1 of sampleNo, in order, as written.
void expectSamplesInOrder(const LoadedRun& run, const char* name) {
  for (int k = 0; k < run.count(); ++k) {
    const std::array<double, kLogFields> expected = ValuesOf(sampleNo(k));
    for (int field = 0; field < kLogFields; ++field)
      ASSERT_DOUBLE_EQ(run.columns[field][k], expected[field]) << name << ": sample " << k;
  }
}

class RunFile : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale::c()); }
  void TearDown() override { QLocale::setDefault(QLocale::c()); }

  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    WriteAll(path, bytes);
    return path;
  }

  QTemporaryDir dir;
};

TEST_F(RunFile, DamagedLinesAreCountedAndSkipped) {
  const QByteArray third = LogLine(sampleNo(2));
  const QByteArray twelveFields = linesOf(0, 1).chopped(2) + ";       1.00\r\n";
  const QByteArray tenFields = linesOf(0, 1).left(10 * 12 - 1) + "\r\n";
  QByteArray nulInField = linesOf(1, 1);
  nulInField[20] = '\0';
  QByteArray notNumbers = linesOf(1, 1);
  notNumbers.replace(12, 11, "        nan");
  QByteArray infinite = linesOf(1, 1);
  infinite.replace(24, 11, "       -inf");
  QByteArray exponent = linesOf(1, 1);
  exponent.replace(36, 11, "     2.5e+3");
  struct Case {
    const char* name;
    QByteArray bytes;
    int count;
    int skipped;
  } cases[] = {
      {"whole lines read as written", linesOf(0, 3), 3, 0},
      {"a last line cut by a crash", linesOf(0, 2) + third.left(40), 2, 1},
      // Its last field reads as a number, but not the one being written.
      {"a last line cut inside its last field", linesOf(0, 2) + third.chopped(3), 2, 1},
      {"a cut line, the next one on a line of its own",
       linesOf(0, 1) + third.left(50) + "\r\n" + linesOf(1, 1), 2, 1},
      {"junk lines between the samples",
       linesOf(0, 1) + "Hello, world\r\n;;;;;;;;;;\r\n" + twelveFields + tenFields + linesOf(1, 1),
       2, 4},
      {"binary bytes",
       linesOf(0, 1) + QByteArray("\x00\xff\x01\x80;\x7f", 6) + "\r\n" + nulInField + linesOf(1, 1),
       2, 2},
      {"nan, inf and exponents, which the recorder never writes",
       linesOf(0, 1) + notNumbers + infinite + exponent, 1, 3},
      {"blank lines are neither samples nor damage",
       "\r\n" + linesOf(0, 1) + "   \t \r\n\r\n" + linesOf(1, 1) + "\r\n", 2, 0},
      {"line feeds without carriage returns", QByteArray(linesOf(0, 3)).replace("\r\n", "\n"), 3,
       0},
      {"fields without padding", "0;1;14;25.1;30;-0.5;14.5;0;0;0;0\r\n", 1, 0},
      {"an empty file", "", 0, 0},
      {"damaged lines only", "QV 2.0\r\n\x1b[2J\r\n", 0, 2},
      {"a lone cut line", third.left(30), 0, 1},
  };
  for (const Case& c : cases) {
    LoadedRun run;
    EXPECT_EQ(ParseRun(c.bytes, &run), c.count > 0) << c.name;
    EXPECT_EQ(run.count(), c.count) << c.name;
    EXPECT_EQ(run.skippedLines, c.skipped) << c.name;
    EXPECT_FALSE(run.cut) << c.name;
    EXPECT_TRUE(
        std::all_of(run.columns.begin(), run.columns.end(),
                    [&](const QVector<double>& column) { return column.size() == c.count; }))
        << c.name << ": every series has every sample";
    expectSamplesInOrder(run, c.name);
    EXPECT_EQ(run.warning().isEmpty(), c.skipped == 0) << c.name;
  }
}

TEST_F(RunFile, WarningCountsTheSkippedLines) {
  LoadedRun run;
  ASSERT_TRUE(ParseRun(linesOf(0, 2) + "x\r\n\r\ny\r\n" + linesOf(2, 1), &run));
  EXPECT_EQ(run.warning(), "пропущено повреждённых строк: 2");
}

// Ten megabytes in one line, then a sample: the line is one damaged line.
TEST_F(RunFile, TenMegabyteLineIsOneDamagedLine) {
  constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;
  struct Case {
    const char* name;
    QByteArray line;
    int skipped;
  } cases[] = {
      {"digits without a separator", QByteArray(kTenMegabytes, '7'), 1},
      {"separators only", QByteArray(kTenMegabytes, ';'), 1},
      {"a sample whose last field goes on",
       linesOf(0, 1).chopped(2) + QByteArray(kTenMegabytes, '0'), 1},
      {"fields of a sample repeated", linesOf(0, 1).chopped(2).repeated(80000).left(kTenMegabytes),
       1},
      {"blanks only", QByteArray(kTenMegabytes, ' '), 0},
  };
  for (const Case& c : cases) {
    const QString path = write("long.gra", c.line + "\r\n" + linesOf(0, 1));
    LoadedRun run;
    QString error;
    ASSERT_TRUE(LoadRun(path, &run, &error)) << c.name << ": " << error.toStdString();
    EXPECT_EQ(run.count(), 1) << c.name;
    EXPECT_EQ(run.skippedLines, c.skipped) << c.name;
    expectSamplesInOrder(run, c.name);
  }
}

class LongRun : public RunFile {
 protected:
  // count lines of samples whose time is the line's index in minutes.
  static QByteArray numberedLines(int count) {
    const QByteArray rest = linesOf(0, 1).mid(11);
    QByteArray bytes;
    bytes.reserve(count * rest.size() + count * 11);
    for (int k = 0; k < count; ++k)
      bytes += FormatLogValue(k).toLatin1() + rest;
    return bytes;
  }
};

TEST_F(LongRun, ReadsTheFirst50000LinesAndSaysTheFileWasCut) {
  const QString path = write("long.gra", numberedLines(kRunLineLimit + 5) + "junk\r\n");
  LoadedRun run;
  QString error;
  ASSERT_TRUE(LoadRun(path, &run, &error));
  EXPECT_EQ(kRunLineLimit, 50000);
  EXPECT_EQ(run.count(), kRunLineLimit);
  EXPECT_DOUBLE_EQ(run.columns[kTimeField].last(), kRunLineLimit - 1);
  EXPECT_TRUE(run.cut);
  EXPECT_EQ(run.skippedLines, 0) << "lines past the limit are not read";
  EXPECT_EQ(run.warning(), "файл длиннее 50000 строк, прочитаны первые 50000");
}

TEST_F(LongRun, ExactlyTheLimitIsWhole) {
  LoadedRun run;
  ASSERT_TRUE(ParseRun(numberedLines(kRunLineLimit), &run));
  EXPECT_EQ(run.count(), kRunLineLimit);
  EXPECT_FALSE(run.cut);
  EXPECT_TRUE(run.warning().isEmpty());
}

TEST_F(LongRun, DamagedAndCutAreBothSaid) {
  LoadedRun run;
  ASSERT_TRUE(ParseRun("garbage\r\n" + numberedLines(kRunLineLimit + 1), &run));
  EXPECT_EQ(run.count(), kRunLineLimit);
  EXPECT_EQ(run.warning(),
            "пропущено повреждённых строк: 1; файл длиннее 50000 строк, прочитаны первые 50000");
}

// A file recorded under a Russian locale reads on a machine with a decimal
// point and the other way round, also both in one file.
TEST_F(RunFile, EitherDecimalSeparatorReadsTheSameValues) {
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  const QByteArray comma = linesOf(0, 4);
  ASSERT_TRUE(comma.contains("      -0,50;")) << comma.constData();
  QLocale::setDefault(QLocale::c());
  const QByteArray point = linesOf(0, 4);
  for (const QByteArray& bytes : {comma, point, comma.left(2 * 133) + point.mid(2 * 133)}) {
    LoadedRun run;
    ASSERT_TRUE(ParseRun(bytes, &run)) << bytes.constData();
    EXPECT_EQ(run.count(), 4);
    EXPECT_EQ(run.skippedLines, 0);
    expectSamplesInOrder(run, bytes.left(40).constData());
  }
}

TEST(RunFileName, StartAndChannelFromTheName) {
  const double start = DateTimeToDays(QDateTime(QDate(2024, 1, 31), QTime(12, 34, 56)));
  struct Case {
    const char* name;
    std::optional<double> start;
    int channel;
  } cases[] = {
      {"20240131_123456_1.gra", start, 0},          {"20240131_123456_2.gra", start, 1},
      {"20240131_123456_2_3.gra", start, 1},        {"20240131_123456_1_12.gra", start, 0},
      {"20240131_123456_1.GRA", start, 0},          {"20240131_123456_3.gra", std::nullopt, -1},
      {"20240131_123456_0.gra", std::nullopt, -1},  {"20240131_123456.gra", std::nullopt, -1},
      {"20240131_1234_1.gra", std::nullopt, -1},    {"20241331_123456_1.gra", std::nullopt, -1},
      {"20240230_123456_1.gra", std::nullopt, -1},  {"20240131_243456_1.gra", std::nullopt, -1},
      {"20240131_123456_1_.gra", std::nullopt, -1}, {"20240131_123456_1.gra.bak", std::nullopt, -1},
      {"20240131_123456_1.txt", std::nullopt, -1},  {"run 20240131_123456_1.gra", std::nullopt, -1},
      {"٢٠٢٤٠١٣١_123456_1.gra", std::nullopt, -1},  {"", std::nullopt, -1},
  };
  for (const Case& c : cases) {
    const RunName name = ParseRunFileName(QString::fromUtf8(c.name));
    EXPECT_EQ(name.start.has_value(), c.start.has_value()) << c.name;
    if (name.start && c.start) {
      EXPECT_DOUBLE_EQ(*name.start, *c.start) << c.name;
    }
    EXPECT_EQ(name.channel, c.channel) << c.name;
  }
}

TEST(RunFileName, ReadsWhatTheRecorderNames) {
  const double start = DateTimeToDays(QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)));
  for (int channel : {0, 1}) {
    for (int suffix : {1, 2, 17}) {
      const QString name = RunFileName(start, channel, suffix);
      const RunName read = ParseRunFileName(name);
      ASSERT_TRUE(read.start) << name.toStdString();
      EXPECT_DOUBLE_EQ(*read.start, start) << name.toStdString();
      EXPECT_EQ(read.channel, channel) << name.toStdString();
    }
  }
}

// The recorder names the file by the wall clock; in the hour that the spring
// clock change skips that is still the start the name says.
TEST(RunFileName, StartInTheHourAClockChangeSkips) {
  const QByteArray zone = qgetenv("TZ");
  qputenv("TZ", "Europe/Berlin");
  tzset();
  const RunName name = ParseRunFileName("20240331_023000_1.gra");
  zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
  tzset();
  ASSERT_TRUE(name.start);
  const double day = static_cast<double>(QDate(1899, 12, 30).daysTo(QDate(2024, 3, 31)));
  EXPECT_DOUBLE_EQ(*name.start, day + 2.5 / 24);
}

TEST_F(RunFile, LoadedFileKnowsItsNameAndWallClock) {
  const QString path = write("20240131_235930_2_2.gra", linesOf(0, 4));
  LoadedRun run;
  QString error;
  ASSERT_TRUE(LoadRun(path, &run, &error)) << error.toStdString();
  EXPECT_EQ(run.path, path);
  EXPECT_EQ(run.fileName(), "20240131_235930_2_2.gra");
  EXPECT_EQ(run.name.channel, 1);
  // Sample 3 is 1.5 minutes after 23:59:30.
  ASSERT_TRUE(run.wallClock(3));
  EXPECT_EQ(DaysToDateTime(*run.wallClock(3)), QDateTime(QDate(2024, 2, 1), QTime(0, 1)));
  EXPECT_FALSE(run.wallClock(-1));
  EXPECT_FALSE(run.wallClock(4));

  ASSERT_TRUE(LoadRun(write("copy.gra", linesOf(0, 4)), &run, &error));
  EXPECT_EQ(run.name.channel, -1);
  EXPECT_FALSE(run.wallClock(0)) << "the start is not known";
}

TEST_F(RunFile, FilesThatCannotBeReadSaySoAndLeaveNothingOfAnEarlierRun) {
  struct Case {
    const char* name;
    QString path;
  } cases[] = {
      {"a missing file", dir.filePath("20240131_123456_1.gra")},
      {"a folder", dir.path()},
      {"a device that never ends", "/dev/zero"},
      {"an empty file", write("empty.gra", "")},
      {"a file without a whole sample line", write("cut.gra", linesOf(0, 1).left(100))},
  };
  for (const Case& c : cases) {
    LoadedRun run;
    QString error;
    ASSERT_TRUE(LoadRun(write("good.gra", linesOf(0, 3) + "junk\r\n"), &run, &error));
    EXPECT_FALSE(LoadRun(c.path, &run, &error)) << c.name;
    EXPECT_TRUE(error.contains(c.path)) << c.name << ": " << error.toStdString();
    EXPECT_EQ(run.path, c.path) << c.name;
    EXPECT_TRUE(std::all_of(run.columns.begin(), run.columns.end(),
                            [](const QVector<double>& column) { return column.isEmpty(); }))
        << c.name << ": samples of the earlier run are left";
  }
}

}  // namespace
