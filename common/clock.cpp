#include "common/clock.h"

#include <cmath>

#include "common/host.h"

namespace qv {

namespace {

const QDate kOrigin(1899, 12, 30);
constexpr long long kMsPerDay = 86400000LL;

long long toMs(double days) {
  return std::llround(days * static_cast<double>(kMsPerDay));
}

long long floorDiv(long long a, long long b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

double Now() {
  return CurrentHost().now();
}

double DateTimeToDays(const QDateTime& dateTime) {
  const double day = static_cast<double>(kOrigin.daysTo(dateTime.date()));
  return day + dateTime.time().msecsSinceStartOfDay() / static_cast<double>(kMsPerDay);
}

QDateTime DaysToDateTime(double days) {
  const long long ms = toMs(days);
  const long long day = floorDiv(ms, kMsPerDay);
  const int msOfDay = static_cast<int>(ms - day * kMsPerDay);
  return QDateTime(kOrigin.addDays(day), QTime::fromMSecsSinceStartOfDay(msOfDay));
}

QString DateText(double days) {
  return DaysToDateTime(days).date().toString(QStringLiteral("yyyyMMdd"));
}

QString TimeText(double days) {
  const long long ms = toMs(std::fabs(days)) % kMsPerDay;
  return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)).toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace qv
