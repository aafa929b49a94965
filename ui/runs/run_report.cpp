#include "ui/runs/run_report.h"

using namespace qv;

namespace {

// Decimals: minutes and temperatures to a tenth, energy to a hundredth,
// charge and voltage to a thousandth.
constexpr int kMinuteDecimals = 1;
constexpr int kAhDecimals = 3;
constexpr int kWhDecimals = 2;
constexpr int kVoltDecimals = 3;
constexpr int kTempDecimals = 1;
constexpr int kPercentDecimals = 1;

const QString kNone = QStringLiteral("—");

class Numbers {
 public:
  explicit Numbers(QLocale locale) : locale_(std::move(locale)) {
    locale_.setNumberOptions(locale_.numberOptions() | QLocale::OmitGroupSeparator);
  }
  QString operator()(double value, int decimals) const {
    return locale_.toString(value, 'f', decimals);
  }
  QString operator()(int value) const { return locale_.toString(value); }

 private:
  QLocale locale_;
};

QList<QStringList> figuresOf(const RunSummary& s, const Numbers& n) {
  return {
      {QStringLiteral("Измерений"), n(s.samples)},
      {QStringLiteral("Длительность (мин)"), n(s.durationMin, kMinuteDecimals)},
      {QStringLiteral("Заряжено (Ач)"), n(s.chargedAh, kAhDecimals)},
      {QStringLiteral("Заряжено (Вт·ч)"), n(s.chargedWh, kWhDecimals)},
      {QStringLiteral("Разряжено (Ач)"), n(s.dischargedAh, kAhDecimals)},
      {QStringLiteral("Разряжено (Вт·ч)"), n(s.dischargedWh, kWhDecimals)},
      {QStringLiteral("КПД по энергии (%)"),
       s.efficiency ? n(*s.efficiency * 100, kPercentDecimals) : kNone},
      {QStringLiteral("Напряжение наименьшее (В)"), n(s.voltageMin, kVoltDecimals)},
      {QStringLiteral("Напряжение наибольшее (В)"), n(s.voltageMax, kVoltDecimals)},
      {QStringLiteral("Напряжение в конце (В)"), n(s.voltageEnd, kVoltDecimals)},
      {QStringLiteral("Температура аккумулятора наибольшая (оС)"), n(s.tempMax, kTempDecimals)},
      {QStringLiteral("Температура радиатора наибольшая (оС)"), n(s.heatsinkMax, kTempDecimals)},
  };
}

QStringList phaseRow(const RunPhase& p, const Numbers& n) {
  return {PhaseKindName(p.kind),          n(p.startMin, kMinuteDecimals),
          n(p.endMin, kMinuteDecimals),   n(p.ah, kAhDecimals),
          n(p.wh, kWhDecimals),           n(p.voltageStart, kVoltDecimals),
          n(p.voltageEnd, kVoltDecimals), n(p.tempMax, kTempDecimals)};
}

QString tabbed(const QStringList& cells) {
  return cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
}

}  // namespace

RunReport BuildRunReport(const QString& heading, const RunSummary& summary, const QLocale& locale) {
  const Numbers numbers(locale);
  RunReport report;
  report.heading = heading;
  report.figures = figuresOf(summary, numbers);
  report.phaseColumns = {
      QStringLiteral("Фаза"),           QStringLiteral("Начало (мин)"),
      QStringLiteral("Конец (мин)"),    QStringLiteral("Емкость (Ач)"),
      QStringLiteral("Энергия (Вт·ч)"), QStringLiteral("V в начале (В)"),
      QStringLiteral("V в конце (В)"),  QStringLiteral("Темп-ра наиб. (оС)"),
  };
  for (const RunPhase& phase : summary.phases)
    report.phases << phaseRow(phase, numbers);
  return report;
}

QString RunReportText(const RunReport& report) {
  QString text = report.heading + QLatin1Char('\n');
  for (const QStringList& figure : report.figures)
    text += tabbed(figure);
  text += QLatin1Char('\n') + tabbed(report.phaseColumns);
  for (const QStringList& phase : report.phases)
    text += tabbed(phase);
  return text;
}
