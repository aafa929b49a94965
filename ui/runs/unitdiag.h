#pragma once

#include "ui/graphs/run_source.h"
#include "ui/main/child_window.h"
#include "ui/main/printing.h"
#include "ui/runs/run_report.h"

class QLabel;
class QPushButton;
class QTableWidget;

// The report of a run: its figures and its phases. Of a run read back from
// its file, or of a channel's current or last run, live while it records.
class TFormDiag : public ChildWindow, public Printable {
  Q_OBJECT

 public:
  explicit TFormDiag(int channel, QWidget* parent = nullptr);
  explicit TFormDiag(qv::LoadedRun run, QWidget* parent = nullptr);

  const RunSource& source() const { return source_; }
  const RunReport& report() const { return report_; }

  QLabel* const Label1;             // the run's name and start
  QTableWidget* const StringGrid1;  // the figures
  QTableWidget* const StringGrid2;  // the phases
  QPushButton* const Button1;       // copy
  QPushButton* const Button2;       // export
  QPushButton* const Button3;       // print

  // The report of the samples as they are now.
  void refresh();
  // The whole report as tab-separated text to the clipboard.
  void Button1Click();
  // "Экспорт в CSV..." of the run's samples.
  void Button2Click();

  QString documentName() const override;
  QPageLayout::Orientation pageOrientation() const override { return QPageLayout::Portrait; }
  void print(QPrinter& printer) override;

 protected:
  // A channel's report follows its measurements.
  void tick() override;

 private:
  TFormDiag(RunSource source, QWidget* parent);
  void build();
  void fillTables();
  // What moves when a channel's samples may have changed.
  QPair<int, int> channelStamp() const;

  const RunSource source_;
  RunReport report_;
  QPair<int, int> shownStamp_{-1, -1};
};
