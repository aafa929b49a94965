#pragma once

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>

#include "acquisition/run_analysis.h"

// A run's report as texts: what the report window shows, copies and prints.
struct RunReport {
  QString heading;             // the run's name and start
  QList<QStringList> figures;  // caption, value
  QStringList phaseColumns;
  QList<QStringList> phases;  // one row a phase, under phaseColumns
};

// The figures of the whole run and its phases, numbers in the locale's
// decimals and without digit grouping.
RunReport BuildRunReport(const QString& heading, const qv::RunSummary& summary,
                         const QLocale& locale);

// Tab-separated lines for a spreadsheet: the heading, the figures, an empty
// line, the phases with their column captions.
QString RunReportText(const RunReport& report);
