#include "acquisition/run_export.h"

#include "common/clock.h"
#include "common/textfile.h"

namespace qv {

namespace {

constexpr int kTimeDecimals = 2;
constexpr int kValueDecimals = 4;

// The columns after the date-time, in the order of a log line.
const char* const kHeadings[kLogFields] = {
    "Время (мин)", "I (А)",  "V (В)",       "T (°C)",      "Tc (°C)",      "E (Ач)",
    "P (Вт)",      "R (Ом)", "dI/dt (А/с)", "dV/dt (В/с)", "dT/dt (°C/с)",
};

struct CsvStyle {
  QChar separator;
  QChar decimal;
};

CsvStyle styleFor(const QLocale& locale) {
  return locale.decimalPoint() == QStringLiteral(",") ? CsvStyle{u';', u','} : CsvStyle{u',', u'.'};
}

QString number(double value, int decimals, QChar decimal) {
  QString text = QString::number(value, 'f', decimals);
  if (decimal != u'.')
    text.replace(u'.', decimal);
  return text;
}

}  // namespace

QString WallClockText(double days) {
  return DaysToDateTime(days).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QByteArray RunCsv(const RunSeries& run, std::optional<double> start, const QLocale& locale) {
  const CsvStyle style = styleFor(locale);
  QString text = QStringLiteral("Дата и время");
  for (const char* heading : kHeadings)
    text += style.separator + QString::fromUtf8(heading);
  text += QStringLiteral("\r\n");
  for (int k = 0; k < run.count; ++k) {
    if (start)
      text += WallClockText(*start + run[kTimeField][k] / kMinutesPerDay);
    text += style.separator + number(run[kTimeField][k], kTimeDecimals, style.decimal);
    for (int field = 1; field < kLogFields; ++field)
      text += style.separator + number(run[field][k], kValueDecimals, style.decimal);
    text += QStringLiteral("\r\n");
  }
  return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

bool WriteRunCsv(const QString& path, const RunSeries& run, std::optional<double> start,
                 const QLocale& locale) {
  return WriteFileSafely(path, RunCsv(run, start, locale));
}

}  // namespace qv
