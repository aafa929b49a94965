#pragma once

#include <QString>
#include <optional>

#include "acquisition/run_file.h"

class QWidget;

// "Экспорт в CSV...": the user names a file, then the run is written there
// for a spreadsheet in the user's locale; a failure says so. The name offered
// is the run's own with ".csv".
void ExportRunCsv(QWidget* parent, const qv::RunSeries& run, std::optional<double> start,
                  const QString& runName);
