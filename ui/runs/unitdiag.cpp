#include "ui/runs/unitdiag.h"

#include <QAction>
#include <QBoxLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>

#include "acquisition/recording.h"
#include "ui/graphs/csv_export.h"

using namespace qv;

namespace {

// Room above and below a row's text.
constexpr int kRowPadding = 6;

QTableWidget* newTable() {
  auto* table = new QTableWidget;
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionMode(QAbstractItemView::NoSelection);
  table->setFocusPolicy(Qt::NoFocus);
  table->verticalHeader()->hide();
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + kRowPadding);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

// Every row shown without scrolling: the figures are few and all matter.
void fitHeightToRows(QTableWidget* table) {
  const int rows = table->verticalHeader()->length();
  table->setFixedHeight(rows + table->horizontalHeader()->sizeHint().height() +
                        2 * table->frameWidth());
  table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void fill(QTableWidget* table, const QStringList& columns, const QList<QStringList>& rows) {
  table->clear();
  table->setColumnCount(static_cast<int>(columns.size()));
  table->setHorizontalHeaderLabels(columns);
  table->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < rows.size(); ++r) {
    for (int c = 0; c < rows[r].size(); ++c) {
      auto* cell = new QTableWidgetItem(rows[r][c]);
      // Numbers line up at the decimal separator's side.
      if (c > 0)
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table->setItem(r, c, cell);
    }
  }
  table->resizeColumnsToContents();
  // The last column takes the rest of the width.
  table->horizontalHeader()->setSectionResizeMode(table->columnCount() - 1, QHeaderView::Stretch);
}

QString htmlTable(const QStringList& columns, const QList<QStringList>& rows) {
  QString html = QStringLiteral("<table border=1 cellspacing=0 cellpadding=3><tr>");
  for (const QString& column : columns)
    html += QStringLiteral("<th>") + column.toHtmlEscaped() + QStringLiteral("</th>");
  html += QStringLiteral("</tr>");
  for (const QStringList& row : rows) {
    html += QStringLiteral("<tr>");
    for (const QString& cell : row)
      html += QStringLiteral("<td>") + cell.toHtmlEscaped() + QStringLiteral("</td>");
    html += QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</table>");
}

const QStringList kFigureColumns = {QStringLiteral("Величина"), QStringLiteral("Значение")};

}  // namespace

TFormDiag::TFormDiag(int channel, QWidget* parent) : TFormDiag(RunSource(channel), parent) {}

TFormDiag::TFormDiag(LoadedRun run, QWidget* parent)
    : TFormDiag(RunSource(QList<LoadedRun>{std::move(run)}), parent) {}

TFormDiag::TFormDiag(RunSource source, QWidget* parent)
    : ChildWindow(parent),
      Label1(new QLabel),
      StringGrid1(newTable()),
      StringGrid2(newTable()),
      Button1(new QPushButton(QStringLiteral("Копировать"))),
      Button2(new QPushButton(QStringLiteral("Экспорт в CSV..."))),
      Button3(new QPushButton(QStringLiteral("Печать..."))),
      source_(std::move(source)) {
  build();
}

void TFormDiag::build() {
  setWindowTitle(QStringLiteral("Диагноз: ") + source_.name(0));
  auto* column = new QVBoxLayout(this);
  QFont bold = Label1->font();
  bold.setBold(true);
  Label1->setFont(bold);
  Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
  column->addWidget(Label1);
  column->addWidget(StringGrid1);
  column->addWidget(new QLabel(QStringLiteral("Фазы")));
  column->addWidget(StringGrid2, 1);
  auto* buttons = new QHBoxLayout;
  Button1->setToolTip(QStringLiteral("Весь отчёт в буфер обмена, через табуляцию (Ctrl+C)"));
  for (QPushButton* button : {Button1, Button2, Button3})
    buttons->addWidget(button);
  buttons->addStretch();
  column->addLayout(buttons);

  auto* copy = new QAction(this);
  copy->setShortcut(QKeySequence::Copy);
  copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(copy);
  connect(copy, &QAction::triggered, this, &TFormDiag::Button1Click);
  connect(Button1, &QPushButton::clicked, this, &TFormDiag::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TFormDiag::Button2Click);
  QAction* print = AddPrintAction(this, *this);
  connect(Button3, &QPushButton::clicked, print, &QAction::trigger);
  refresh();
}

void TFormDiag::refresh() {
  if (source_.live())
    shownStamp_ = channelStamp();
  report_ = BuildRunReport(source_.description(0), SummarizeRun(source_.series(0)), QLocale());
  fillTables();
}

void TFormDiag::fillTables() {
  Label1->setText(report_.heading);
  fill(StringGrid1, kFigureColumns, report_.figures);
  fitHeightToRows(StringGrid1);
  fill(StringGrid2, report_.phaseColumns, report_.phases);
}

QPair<int, int> TFormDiag::channelStamp() const {
  return {MeasurementCount(), source_.series(0).count};
}

void TFormDiag::tick() {
  if (source_.live() && channelStamp() != shownStamp_)
    refresh();
}

void TFormDiag::Button1Click() {
  QGuiApplication::clipboard()->setText(RunReportText(report_));
}

void TFormDiag::Button2Click() {
  ExportRunCsv(this, source_.series(0), source_.start(0), source_.name(0));
}

QString TFormDiag::documentName() const {
  return windowTitle();
}

void TFormDiag::print(QPrinter& printer) {
  QTextDocument document;
  document.setHtml(QStringLiteral("<h3>") + report_.heading.toHtmlEscaped() +
                   QStringLiteral("</h3>") + htmlTable(kFigureColumns, report_.figures) +
                   QStringLiteral("<h4>Фазы</h4>") +
                   htmlTable(report_.phaseColumns, report_.phases));
  document.print(&printer);
}
