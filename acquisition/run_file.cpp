#include "acquisition/run_file.h"

#include <QFile>
#include <QLocale>

#include "common/clock.h"

namespace {

bool parseField(QStringView field, double* value) {
  QString text = field.trimmed().toString();
  text.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  *value = QLocale::c().toDouble(text, &ok);
  return ok;
}

}  // namespace

bool ParseLogLine(QStringView line, LogSample* sample) {
  int field = 0;
  for (QStringView text : line.split(u';')) {
    if (field == kLogFields || !parseField(text, &(*sample)[field]))
      return false;
    ++field;
  }
  return field == kLogFields;
}

bool ReadRunFile(const QString& path, RunFileContents* contents) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  // The lines hold digits, blanks, signs and separators only: Latin-1 reads them.
  const QString text = QString::fromLatin1(file.readAll());
  *contents = {};
  for (QStringView line : QStringView(text).split(u'\n')) {
    if (line.endsWith(u'\r'))
      line.chop(1);
    if (line.trimmed().isEmpty())
      continue;
    LogSample sample;
    if (ParseLogLine(line, &sample)) {
      contents->samples.append(sample);
    } else {
      ++contents->skippedLines;
    }
  }
  return true;
}

QString RunFileName(double start, int channel, int suffix) {
  const QString stamp = DaysToDateTime(start).toString(QStringLiteral("yyyyMMdd_HHmmss"));
  QString name = stamp + QLatin1Char('_') + QString::number(channel + 1);
  if (suffix > 1)
    name += QLatin1Char('_') + QString::number(suffix);
  return name + QStringLiteral(".gra");
}
