#pragma once

#include <QString>

namespace qv {

// Appends "hh:nn:ss text" to the day's file LOG/yyyymmdd.txt when the
// communication log is on. A line that cannot be written is lost silently.
void WriteComLog(const QString& text);

// The day's log file for a date-time in days.
QString ComLogPath(double days);

}  // namespace qv
