#pragma once

#include <QDateTime>
#include <QString>

namespace qv {

// Date-times are days since 30 December 1899, the fraction being the time of
// day, local time.
// Now, as the host tells it (the system clock unless a test says otherwise).
double Now();

inline constexpr double kMinutesPerDay = 24.0 * 60;

double DateTimeToDays(const QDateTime& dateTime);
QDateTime DaysToDateTime(double days);

// "yyyymmdd" of the date, e.g. 20240131.
QString DateText(double days);
// "hh:nn:ss" of the time of day; a difference of date-times wraps at 24 hours.
QString TimeText(double days);

}  // namespace qv
