#pragma once

#include <QList>
#include <QString>
#include <optional>

#include "acquisition/run_file.h"

namespace qv {

// What a run did, phase by phase. A phase is a longest stretch of
// consecutive samples that are all active (current above kActiveCurrent) or
// all at rest. An active phase charges when the capacity counter is higher
// at its last sample than at its first, discharges when it is lower, and,
// when it is equal, charges when the voltage has not fallen.

inline constexpr double kActiveCurrent = 0.005;  // A

enum class PhaseKind { Charge, Discharge, Rest };

struct RunPhase {
  PhaseKind kind = PhaseKind::Rest;
  int first = 0;  // sample indices, both included
  int last = 0;
  double startMin = 0;
  double endMin = 0;
  // By the trapezoid rule over the steps between the phase's samples.
  double ah = 0;
  double wh = 0;
  double voltageStart = 0;
  double voltageEnd = 0;
  double tempMax = 0;
};

struct RunSummary {
  int samples = 0;
  double durationMin = 0;  // last time - first
  double chargedAh = 0;    // over the charge phases
  double chargedWh = 0;
  double dischargedAh = 0;  // over the discharge phases
  double dischargedWh = 0;
  double voltageMin = 0;
  double voltageMax = 0;
  double voltageEnd = 0;
  double tempMax = 0;
  double heatsinkMax = 0;
  std::optional<double> efficiency;  // discharged Wh / charged Wh, with both
  QList<RunPhase> phases;
};

// Nothing for a run without samples.
RunSummary SummarizeRun(const RunSeries& run);

// "charge", "discharge", "rest": the words of the machine-readable outputs.
const char* PhaseKindKey(PhaseKind kind);
// "Заряд", "Разряд", "Пауза": what the windows show.
QString PhaseKindName(PhaseKind kind);

}  // namespace qv
