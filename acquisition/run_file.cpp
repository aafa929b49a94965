#include "acquisition/run_file.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>

#include "common/clock.h"

namespace {

constexpr double kMinutesPerDay = 24.0 * 60;
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
  const auto [stop, error] = std::from_chars(buffer, end, *value);
  return error == std::errc() && stop == end;
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
  static const QRegularExpression pattern(QStringLiteral("^(\\d{8}_\\d{6})_([12])(_\\d+)?\\.gra$"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(fileName);
  if (!match.hasMatch())
    return {};
  const QDateTime start =
      QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd_HHmmss"));
  if (!start.isValid())
    return {};
  return {DateTimeToDays(start), match.captured(2).toInt() - 1};
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
  for (QVector<double>& column : run->columns)
    column.clear();
  run->skippedLines = 0;
  run->cut = false;
  std::array<double, kLogFields> values;
  while (!bytes.isEmpty()) {
    const qsizetype end = bytes.indexOf('\n');
    QByteArrayView line = end < 0 ? bytes : bytes.first(end);
    bytes = end < 0 ? QByteArrayView() : bytes.sliced(end + 1);
    if (line.endsWith('\r'))
      line.chop(1);
    if (trimmed(line).isEmpty())
      continue;
    if (!ParseLogLine(line, &values)) {
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
  run->path = path;
  run->name = ParseRunFileName(QFileInfo(path).fileName());
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = QStringLiteral("Не удалось открыть файл ") + path;
    return false;
  }
  const QByteArray bytes = file.readAll();
  if (!ParseRun(bytes, run)) {
    *error = QStringLiteral("В файле ") + path + QStringLiteral(" нет ни одной строки измерений");
    return false;
  }
  return true;
}
