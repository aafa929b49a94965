#pragma once

#include <QString>

namespace qv {
struct RunSeries;
}
class TFormAbout;

// x with two decimals, right-aligned in exactly 7 characters; a longer
// number loses its leading characters.
QString FormatReportNumber(double x);

// Whether a sample index lies within the series.
bool ValidPointIndex(int index);

// The text of one sample of a channel (0 or 1) with its ten quantities and
// the channel's sample count; empty for an index outside the series.
QString BuildPointReport(int channel, int index);
// The same text of a sample of a run and the run's sample count; empty for
// an index outside the run.
QString BuildPointReport(const qv::RunSeries& run, int index);

// The report in a new About window of its own; null, and no window, for an
// index outside the series.
TFormAbout* ShowPointReport(int channel, int index);
TFormAbout* ShowPointReport(const qv::RunSeries& run, int index);
