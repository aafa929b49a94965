#include "acquisition/run_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/clock.h"

namespace qv {

namespace {

// A field is 11 characters; anything much longer is no number of ours.
constexpr qsizetype kLongestField = 32;

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView text) {
  while (!text.isEmpty() && isBlank(text.front()))
    text = text.sliced(1);
  while (!text.isEmpty() && isBlank(text.back()))
    text.chop(1);
  return text;
}

bool parseField(QByteArrayView field, double* value) {
  field = trimmed(field);
  if (field.isEmpty() || field.size() > kLongestField)
    return false;
  char buffer[kLongestField];
  for (qsizetype i = 0; i < field.size(); ++i)
    buffer[i] = field[i] == ',' ? '.' : field[i];
  const char* end = buffer + field.size();
  // As the log writes numbers: no exponent, so no value beyond 1e32 and sums
  // of them stay finite. from_chars also takes "inf" and "nan", which it
  // never writes.
  const auto [stop, error] = std::from_chars(buffer, end, *value, std::chars_format::fixed);
  return error == std::errc() && stop == end && std::isfinite(*value);
}

// A file of the longest run needs this many lines at most; more memory is
// never reserved, whatever the file's size.
qsizetype expectedLines(QByteArrayView bytes) {
  constexpr qsizetype kLineBytes = 133;  // eleven fields, ten separators, CR LF
  return std::min<qsizetype>(bytes.size() / kLineBytes + 1, kRunLineLimit);
}

}  // namespace

bool ParseLogLine(QByteArrayView line, std::array<double, kLogFields>* values) {
  int field = 0;
  while (true) {
    const qsizetype semicolon = line.indexOf(';');
    const QByteArrayView text = semicolon < 0 ? line : line.first(semicolon);
    if (field == kLogFields || !parseField(text, &(*values)[field]))
      return false;
    ++field;
    if (semicolon < 0)
      break;
    line = line.sliced(semicolon + 1);
  }
  return field == kLogFields;
}

RunSeries SeriesOf(const ChannelRecord& channel) {
  RunSeries run;
  for (int field = 0; field < kLogFields; ++field)
    run.series[field] = channel.*kLogSeries[field];
  run.count = std::clamp(channel.Count, 0, kSeriesCapacity);
  return run;
}

RunName ParseRunFileName(const QString& fileName) {
  // [0-9], not \d, which takes digits of any script.
  static const QRegularExpression pattern(
      QStringLiteral("^([0-9]{8})_([0-9]{6})_([12])(_[0-9]+)?\\.gra$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch())
    return {};
  const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyyMMdd"));
  const QTime time = QTime::fromString(match.captured(2), QStringLiteral("HHmmss"));
  if (!date.isValid() || !time.isValid())
    return {};
  // The name holds the local wall clock; UTC takes it as it is, also in the
  // hour a clock change skips.
  return {DateTimeToDays(QDateTime(date, time, Qt::UTC)), match.captured(3).toInt() - 1};
}

QString RunFileName(double start, int channel, int suffix) {
  const QString stamp = DaysToDateTime(start).toString(QStringLiteral("yyyyMMdd_HHmmss"));
  QString name = stamp + QLatin1Char('_') + QString::number(channel + 1);
  if (suffix > 1)
    name += QLatin1Char('_') + QString::number(suffix);
  return name + QStringLiteral(".gra");
}

RunSeries LoadedRun::series() const {
  RunSeries run;
  for (int field = 0; field < kLogFields; ++field)
    run.series[field] = columns[field].constData();
  run.count = count();
  return run;
}

QString LoadedRun::fileName() const {
  return QFileInfo(path).fileName();
}

QString LoadedRun::warning() const {
  QStringList said;
  if (skippedLines > 0) {
    said << QStringLiteral("пропущено повреждённых строк: %1").arg(skippedLines);
  }
  if (cut)
    said << QStringLiteral("файл длиннее %1 строк, прочитаны первые %1").arg(kRunLineLimit);
  return said.join(QStringLiteral("; "));
}

std::optional<double> LoadedRun::wallClock(int k) const {
  if (!name.start || k < 0 || k >= count())
    return std::nullopt;
  return *name.start + columns[kTimeField][k] / kMinutesPerDay;
}

bool ParseRun(QByteArrayView bytes, LoadedRun* run) {
  const qsizetype reserved = expectedLines(bytes);
  for (QVector<double>& column : run->columns) {
    column.clear();
    column.reserve(reserved);
  }
  run->skippedLines = 0;
  run->cut = false;
  std::array<double, kLogFields> values;
  while (!bytes.isEmpty()) {
    const qsizetype end = bytes.indexOf('\n');
    // A line without its line end is one a crash cut, or one still being
    // written: its last field may be a number's first digits.
    const bool whole = end >= 0;
    QByteArrayView line = whole ? bytes.first(end) : bytes;
    bytes = whole ? bytes.sliced(end + 1) : QByteArrayView();
    if (line.endsWith('\r'))
      line.chop(1);
    if (trimmed(line).isEmpty())
      continue;
    if (!whole || !ParseLogLine(line, &values)) {
      ++run->skippedLines;
      continue;
    }
    if (run->count() == kRunLineLimit) {
      run->cut = true;
      break;
    }
    for (int field = 0; field < kLogFields; ++field)
      run->columns[field].append(values[field]);
  }
  return run->count() > 0;
}

bool LoadRun(const QString& path, LoadedRun* run, QString* error) {
  *run = LoadedRun();
  run->path = path;
  run->name = ParseRunFileName(QFileInfo(path).fileName());
  // Only a regular file: a device such as /dev/zero would never end.
  QFile file(path);
  if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("Не удалось открыть файл ") + path;
    return false;
  }
  // Mapped, the file is read in place instead of copied; an empty file or
  // one that cannot be mapped is read whole.
  const qint64 size = file.size();
  const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
  const QByteArray copy = mapped ? QByteArray() : file.readAll();
  const QByteArrayView bytes =
      mapped ? QByteArrayView(mapped, static_cast<qsizetype>(size)) : QByteArrayView(copy);
  if (!ParseRun(bytes, run)) {
    *error = QStringLiteral("В файле ") + path + QStringLiteral(" нет ни одной строки измерений");
    return false;
  }
  return true;
}

}  // namespace qv
