#include "acquisition/run_analysis.h"

#include <algorithm>

namespace qv {

namespace {

constexpr double kMinutesPerHour = 60;

bool isActive(const RunSeries& run, int k) {
  return run[kCurrentField][k] > kActiveCurrent;
}

PhaseKind activeKind(const RunSeries& run, int first, int last) {
  const double* capacity = run[kCapacityField];
  if (capacity[last] != capacity[first])
    return capacity[last] > capacity[first] ? PhaseKind::Charge : PhaseKind::Discharge;
  const double* voltage = run[kVoltageField];
  return voltage[last] >= voltage[first] ? PhaseKind::Charge : PhaseKind::Discharge;
}

// The trapezoid rule over the steps between samples first .. last.
double integral(const RunSeries& run, int field, int first, int last) {
  const double* values = run[field];
  const double* time = run[kTimeField];
  double sum = 0;
  for (int k = first + 1; k <= last; ++k)
    sum += (values[k] + values[k - 1]) / 2 * (time[k] - time[k - 1]) / kMinutesPerHour;
  return sum;
}

double highest(const double* values, int first, int last) {
  return *std::max_element(values + first, values + last + 1);
}

RunPhase phaseOf(const RunSeries& run, int first, int last) {
  RunPhase phase;
  phase.kind = isActive(run, first) ? activeKind(run, first, last) : PhaseKind::Rest;
  phase.first = first;
  phase.last = last;
  phase.startMin = run[kTimeField][first];
  phase.endMin = run[kTimeField][last];
  phase.ah = integral(run, kCurrentField, first, last);
  phase.wh = integral(run, kPowerField, first, last);
  phase.voltageStart = run[kVoltageField][first];
  phase.voltageEnd = run[kVoltageField][last];
  phase.tempMax = highest(run[kTempField], first, last);
  return phase;
}

QList<RunPhase> phasesOf(const RunSeries& run) {
  QList<RunPhase> phases;
  int first = 0;
  for (int k = 1; k <= run.count; ++k) {
    if (k == run.count || isActive(run, k) != isActive(run, first)) {
      phases.append(phaseOf(run, first, k - 1));
      first = k;
    }
  }
  return phases;
}

}  // namespace

RunSummary SummarizeRun(const RunSeries& run) {
  RunSummary summary;
  if (run.count <= 0)
    return summary;
  const int last = run.count - 1;
  const double* voltage = run[kVoltageField];
  summary.samples = run.count;
  summary.durationMin = run[kTimeField][last] - run[kTimeField][0];
  summary.voltageMin = *std::min_element(voltage, voltage + run.count);
  summary.voltageMax = highest(voltage, 0, last);
  summary.voltageEnd = voltage[last];
  summary.tempMax = highest(run[kTempField], 0, last);
  summary.heatsinkMax = highest(run[kHeatsinkField], 0, last);
  summary.phases = phasesOf(run);
  for (const RunPhase& phase : summary.phases) {
    if (phase.kind == PhaseKind::Charge) {
      summary.chargedAh += phase.ah;
      summary.chargedWh += phase.wh;
    } else if (phase.kind == PhaseKind::Discharge) {
      summary.dischargedAh += phase.ah;
      summary.dischargedWh += phase.wh;
    }
  }
  if (summary.chargedWh > 0 && summary.dischargedWh > 0)
    summary.efficiency = summary.dischargedWh / summary.chargedWh;
  return summary;
}

const char* PhaseKindKey(PhaseKind kind) {
  switch (kind) {
    case PhaseKind::Charge:
      return "charge";
    case PhaseKind::Discharge:
      return "discharge";
    case PhaseKind::Rest:
      break;
  }
  return "rest";
}

QString PhaseKindName(PhaseKind kind) {
  switch (kind) {
    case PhaseKind::Charge:
      return QStringLiteral("Заряд");
    case PhaseKind::Discharge:
      return QStringLiteral("Разряд");
    case PhaseKind::Rest:
      break;
  }
  return QStringLiteral("Пауза");
}

}  // namespace qv
