#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <optional>

#include "acquisition/run_file.h"

namespace qv {

// "yyyy-MM-dd hh:mm:ss" of a date-time in days, as the table writes it.
QString WallClockText(double days);

// A run as a table a spreadsheet opens directly: UTF-8 with a byte order
// mark, a header row with the units, then per sample the wall-clock date-time
// "yyyy-MM-dd hh:mm:ss" (empty when the start is not known), the time in
// minutes and the ten values. Where the locale writes a decimal comma the
// fields are separated by ";", elsewhere by "," with a decimal point.
QByteArray RunCsv(const RunSeries& run, std::optional<double> start, const QLocale& locale);

// Writes it through the safe replace of every save; false when it cannot.
bool WriteRunCsv(const QString& path, const RunSeries& run, std::optional<double> start,
                 const QLocale& locale);

}  // namespace qv
