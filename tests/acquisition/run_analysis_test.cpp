#include <gtest/gtest.h>
#include <vector>

#include "acquisition/run_analysis.h"
#include "tests/acquisition/hand_run.h"

using namespace qv;

namespace {

struct ExpectedPhase {
  PhaseKind kind;
  int first;
  int last;
};

// The phases follow each other from sample 0 to the last, none left out and
// none overlapping.
void expectPhasesCoverTheRun(const RunSummary& summary, int count, const char* name) {
  int next = 0;
  for (const RunPhase& phase : summary.phases) {
    EXPECT_EQ(phase.first, next) << name;
    EXPECT_LE(phase.first, phase.last) << name;
    next = phase.last + 1;
  }
  EXPECT_EQ(next, count) << name;
}

LoadedRun restChargeRestDischarge() {
  return RunOf(RestChargeRestDischarge());
}

TEST(RunAnalysis, PhasesOfHandMadeRuns) {
  constexpr PhaseKind charge = PhaseKind::Charge;
  constexpr PhaseKind discharge = PhaseKind::Discharge;
  constexpr PhaseKind rest = PhaseKind::Rest;
  struct Case {
    const char* name;
    LoadedRun run;
    std::vector<ExpectedPhase> phases;
  } cases[] = {
      {"rest only, 4 mA included",
       RunOf({{0, 0, 12.5}, {1, 0, 12.5}, {2, 0.004, 12.4}}),
       {{rest, 0, 2}}},
      {"the counter rises: a charge, whatever the voltage did",
       RunOf({{0, 1, 13.0, 0, 0, 0.00}, {1, 1, 13.5, 0, 0, 0.02}, {2, 1, 12.9, 0, 0, 0.03}}),
       {{charge, 0, 2}}},
      {"the counter falls below zero: a discharge, whatever the voltage did",
       RunOf({{0, 1, 12.0, 0, 0, 0.00}, {1, 1, 12.2, 0, 0, -0.02}, {2, 1, 12.3, 0, 0, -0.04}}),
       {{discharge, 0, 2}}},
      {"counter equal, voltage risen: a charge",
       RunOf({{0, 1, 12.0, 0, 0, 0.5}, {1, 1, 12.1, 0, 0, 0.5}}),
       {{charge, 0, 1}}},
      {"counter equal, voltage the same: a charge",
       RunOf({{0, 1, 12.0, 0, 0, 0.5}, {1, 1, 12.0, 0, 0, 0.5}}),
       {{charge, 0, 1}}},
      {"counter equal, voltage fallen: a discharge",
       RunOf({{0, 1, 12.1, 0, 0, 0.5}, {1, 1, 11.9, 0, 0, 0.6}, {2, 1, 12.0, 0, 0, 0.5}}),
       {{discharge, 0, 2}}},
      {"one active sample between rests",
       RunOf({{0, 0, 12.0}, {1, 1, 12.5}, {2, 0, 12.1}}),
       {{rest, 0, 0}, {charge, 1, 1}, {rest, 2, 2}}},
      {"a run of one sample", RunOf({{0, 1, 12.0}}), {{charge, 0, 0}}},
      {"5 mA is rest, 6 mA is not",
       RunOf({{0, 0.005, 12.0}, {1, 0.006, 12.0}, {2, 0.005, 12.0}}),
       {{rest, 0, 0}, {charge, 1, 1}, {rest, 2, 2}}},
      {"rest, charge, rest, discharge",
       restChargeRestDischarge(),
       {{rest, 0, 1}, {charge, 2, 4}, {rest, 5, 6}, {discharge, 7, 9}}},
  };
  for (const Case& c : cases) {
    const RunSeries series = c.run.series();
    const RunSummary summary = SummarizeRun(series);
    ASSERT_EQ(summary.phases.size(), c.phases.size()) << c.name;
    expectPhasesCoverTheRun(summary, series.count, c.name);
    for (size_t i = 0; i < c.phases.size(); ++i) {
      const RunPhase& phase = summary.phases[static_cast<qsizetype>(i)];
      const ExpectedPhase& expected = c.phases[i];
      EXPECT_EQ(PhaseKindKey(phase.kind), PhaseKindKey(expected.kind)) << c.name << " " << i;
      EXPECT_EQ(phase.first, expected.first) << c.name << " " << i;
      EXPECT_EQ(phase.last, expected.last) << c.name << " " << i;
      EXPECT_EQ(phase.startMin, series[kTimeField][phase.first]) << c.name << " " << i;
      EXPECT_EQ(phase.endMin, series[kTimeField][phase.last]) << c.name << " " << i;
      EXPECT_EQ(phase.voltageStart, series[kVoltageField][phase.first]) << c.name << " " << i;
      EXPECT_EQ(phase.voltageEnd, series[kVoltageField][phase.last]) << c.name << " " << i;
    }
  }
}

// Charge, samples 2 to 4, by the trapezoid rule:
//   Ah = (2 + 2) / 2 * (5 - 2) / 60 + (2 + 1) / 2 * (8 - 5) / 60 = 0.1 + 0.075 = 0.175
//   Wh = (26 + 27.2) / 2 * 3 / 60 + (27.2 + 14) / 2 * 3 / 60 = 1.33 + 1.03 = 2.36
// Discharge, samples 7 to 9:
//   Ah = (1.5 + 1.5) / 2 * (15 - 11) / 60 + (1.5 + 1.5) / 2 * (17 - 15) / 60 = 0.1 + 0.05 = 0.15
//   Wh = (18.6 + 16.8) / 2 * 4 / 60 + (16.8 + 17.25) / 2 * 2 / 60 = 1.18 + 0.5675 = 1.7475
// The steps between phases (4 to 5 and 6 to 7, 0.0083 and 0.0125 Ah) count
// nowhere. Efficiency = 1.7475 / 2.36 = 0.740466...
TEST(RunAnalysis, SummaryOfRestChargeRestDischargeByHand) {
  const LoadedRun run = restChargeRestDischarge();
  const RunSummary s = SummarizeRun(run.series());
  EXPECT_EQ(s.samples, 10);
  EXPECT_DOUBLE_EQ(s.durationMin, 17);
  EXPECT_NEAR(s.chargedAh, 0.175, 1e-12);
  EXPECT_NEAR(s.chargedWh, 2.36, 1e-12);
  EXPECT_NEAR(s.dischargedAh, 0.15, 1e-12);
  EXPECT_NEAR(s.dischargedWh, 1.7475, 1e-12);
  ASSERT_TRUE(s.efficiency);
  EXPECT_NEAR(*s.efficiency, 1.7475 / 2.36, 1e-12);
  EXPECT_DOUBLE_EQ(s.voltageMin, 11.2);
  EXPECT_DOUBLE_EQ(s.voltageMax, 14.0);
  EXPECT_DOUBLE_EQ(s.voltageEnd, 11.5);
  EXPECT_DOUBLE_EQ(s.tempMax, 26);
  EXPECT_DOUBLE_EQ(s.heatsinkMax, 36);

  ASSERT_EQ(s.phases.size(), 4);
  const double phaseAh[] = {0, 0.175, 0, 0.15};
  const double phaseWh[] = {0, 2.36, 0, 1.7475};
  const double phaseTempMax[] = {20, 26, 25, 24};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(s.phases[i].ah, phaseAh[i], 1e-12) << i;
    EXPECT_NEAR(s.phases[i].wh, phaseWh[i], 1e-12) << i;
    EXPECT_DOUBLE_EQ(s.phases[i].tempMax, phaseTempMax[i]) << i;
  }
}

// A run read from a file that was resumed or cut need not start at minute 0.
TEST(RunAnalysis, DurationIsFromTheFirstSample) {
  const LoadedRun run = RunOf({{2.5, 1, 12, 0, 0, 0.1}, {4, 1, 12, 0, 0, 0.2}, {10, 1, 12}});
  EXPECT_DOUBLE_EQ(SummarizeRun(run.series()).durationMin, 7.5);
}

// Only a run that both charged and discharged energy has an efficiency; a
// one-sample phase has none, and dividing by it would give infinity.
TEST(RunAnalysis, EfficiencyOnlyWithChargeAndDischarge) {
  struct Case {
    const char* name;
    LoadedRun run;
    std::optional<double> efficiency;
  } cases[] = {
      {"charge only", RunOf({{0, 1, 12, 0, 0, 0, 12}, {60, 1, 13, 0, 0, 1, 13}}), std::nullopt},
      {"discharge only", RunOf({{0, 1, 13, 0, 0, 1, 13}, {60, 1, 12, 0, 0, 0, 12}}), std::nullopt},
      {"charge, rest, discharge",
       RunOf({{0, 1, 12, 0, 0, 0, 12},
              {60, 1, 14, 0, 0, 1, 14},
              {61, 0, 13},
              {62, 1, 13, 0, 0, 1, 13},
              {122, 1, 11, 0, 0, 0, 11}}),
       12.0 / 13},
      {"a charge of one sample has no energy",
       RunOf({{0, 1, 12, 0, 0, 0, 12},
              {1, 0, 12},
              {2, 1, 12, 0, 0, 0, 12},
              {62, 1, 11, 0, 0, -1, 11}}),
       std::nullopt},
      {"no samples", LoadedRun(), std::nullopt},
  };
  for (const Case& c : cases) {
    const RunSummary summary = SummarizeRun(c.run.series());
    EXPECT_EQ(summary.efficiency.has_value(), c.efficiency.has_value()) << c.name;
    if (summary.efficiency && c.efficiency) {
      EXPECT_NEAR(*summary.efficiency, *c.efficiency, 1e-12) << c.name;
    }
  }
}

TEST(RunAnalysis, NoSamplesNoPhases) {
  const RunSummary summary = SummarizeRun(LoadedRun().series());
  EXPECT_EQ(summary.samples, 0);
  EXPECT_TRUE(summary.phases.isEmpty());
  EXPECT_EQ(summary.durationMin, 0);
}

}  // namespace
