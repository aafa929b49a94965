#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// Date-times are days since 30 December 1899, the fraction being the time of
// day, local time.
double Now();
// Replaces the system clock (tests); an empty function restores it.
void SetClock(std::function<double()> clock);

inline constexpr double kMinutesPerDay = 24.0 * 60;

double DateTimeToDays(const QDateTime& dateTime);
QDateTime DaysToDateTime(double days);

// "yyyymmdd" of the date, e.g. 20240131.
QString DateText(double days);
// "hh:nn:ss" of the time of day; a difference of date-times wraps at 24 hours.
QString TimeText(double days);
