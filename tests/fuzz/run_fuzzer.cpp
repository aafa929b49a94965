// The run file reader on arbitrary bytes, then the analysis and the table of
// what it read: at most kRunLineLimit samples, every line read or skipped at
// most once, finite values and figures only, phases that cover the samples in
// order, a table row per sample, and what the recorder would write of the
// values reads back. Input: the file.
#include <QLocale>
#include <cmath>

#include "acquisition/run_analysis.h"
#include "acquisition/run_export.h"
#include "acquisition/run_file.h"
#include "acquisition/sample_log.h"
#include "tests/fuzz/fuzz_support.h"

using namespace qv;

namespace {

// Samples written again and read back per input; enough to meet every kind
// of value, few enough to keep the fuzzer fast.
constexpr int kRewrittenSamples = 64;

qsizetype linesIn(QByteArrayView bytes) {
  const qsizetype ends = bytes.count('\n');
  return bytes.endsWith('\n') || bytes.isEmpty() ? ends : ends + 1;
}

void checkRead(QByteArrayView bytes, bool read, const LoadedRun& run) {
  fuzzCheck(read == (run.count() > 0), "the reader says whether it read a sample");
  fuzzCheck(run.count() <= kRunLineLimit, "at most the line limit is read");
  fuzzCheck(!run.cut || run.count() == kRunLineLimit, "only a full run is cut");
  fuzzCheck(run.skippedLines >= 0 && run.skippedLines + run.count() <= linesIn(bytes),
            "no line is read or skipped twice");
  for (const QVector<double>& column : run.columns) {
    fuzzCheck(column.size() == run.count(), "every series has every sample");
    for (double value : column)
      fuzzCheck(std::isfinite(value), "every value read is a finite number");
  }
}

void checkPhases(const RunSeries& series, const RunSummary& summary) {
  fuzzCheck(summary.samples == series.count, "the summary counts every sample");
  int next = 0;
  for (const RunPhase& phase : summary.phases) {
    fuzzCheck(phase.first == next && phase.first <= phase.last,
              "the phases cover the samples in order without gap or overlap");
    const bool active = phase.kind != PhaseKind::Rest;
    for (int k = phase.first; k <= phase.last; ++k) {
      fuzzCheck((series[kCurrentField][k] > kActiveCurrent) == active,
                "a phase is all active or all at rest");
    }
    next = phase.last + 1;
  }
  fuzzCheck(next == series.count, "the phases end at the last sample");
}

// Values of at most 32 characters without an exponent add up to finite sums.
void checkFinite(const RunSummary& s) {
  for (double figure :
       {s.durationMin, s.chargedAh, s.chargedWh, s.dischargedAh, s.dischargedWh, s.voltageMin,
        s.voltageMax, s.voltageEnd, s.tempMax, s.heatsinkMax, s.efficiency.value_or(0)})
    fuzzCheck(std::isfinite(figure), "every figure of the summary is finite");
  for (const RunPhase& phase : s.phases)
    fuzzCheck(std::isfinite(phase.ah) && std::isfinite(phase.wh), "phase energies are finite");
}

// One header row and one row per sample, each with its twelve fields.
void checkTable(const RunSeries& series, const QLocale& locale, char separator) {
  const QByteArray csv = RunCsv(series, std::nullopt, locale);
  fuzzCheck(csv.startsWith("\xEF\xBB\xBF"), "the table starts with a byte order mark");
  fuzzCheck(csv.count("\r\n") == series.count + 1, "a table row per sample");
  fuzzCheck(csv.count(separator) == qsizetype(series.count + 1) * kLogFields,
            "every row has twelve fields");
}

// Lines as the recorder writes them from the values read are read whole.
void checkRewritten(const LoadedRun& run) {
  const int count = std::min(run.count(), kRewrittenSamples);
  QByteArray bytes;
  for (int k = 0; k < count; ++k) {
    QString line;
    for (int field = 0; field < kLogFields; ++field)
      line += (field > 0 ? QStringLiteral(";") : QString()) + FormatLogValue(run.columns[field][k]);
    bytes += line.toLatin1() + "\r\n";
  }
  LoadedRun again;
  ParseRun(bytes, &again);
  fuzzCheck(again.count() == count && again.skippedLines == 0,
            "what the recorder writes of the values reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArrayView bytes(data, static_cast<qsizetype>(size));
  LoadedRun run;
  const bool read = ParseRun(bytes, &run);
  checkRead(bytes, read, run);
  const RunSeries series = run.series();
  const RunSummary summary = SummarizeRun(series);
  checkPhases(series, summary);
  checkFinite(summary);
  checkTable(series, QLocale::c(), ',');
  checkTable(series, QLocale(QLocale::Russian, QLocale::Russia), ';');
  checkRewritten(run);
  return 0;
}
