#include "ui/graphs/csv_export.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>

#include "acquisition/run_export.h"
#include "common/folders.h"
#include "common/messages.h"
#include "ui/main/modal.h"

using namespace qv;

void ExportRunCsv(QWidget* parent, const RunSeries& run, std::optional<double> start,
                  const QString& runName) {
  QFileDialog dialog(parent, QStringLiteral("Экспорт в CSV"), GraFolder(),
                     QStringLiteral("Таблицы CSV (*.csv)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("csv"));
  dialog.selectFile(QFileInfo(runName).completeBaseName() + QStringLiteral(".csv"));
  if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return;
  const QString path = dialog.selectedFiles().first();
  if (!WriteRunCsv(path, run, start, QLocale()))
    ShowMessage(CannotWriteFileText(path));
}
