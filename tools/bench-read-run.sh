#!/usr/bin/env bash
# Builds and runs the reading benchmark: a run file of 50 000 lines, written
# as the recorder writes a charge, read READS times (default 15) by LoadRun.
# The last line is the median.
#   tools/bench-read-run.sh [READS]
set -euo pipefail
cd "$(dirname "$0")/.."
log="$(mktemp /tmp/bench-read-run.XXXXXX.log)"
trap 'rm -f "$log"' EXIT
if ! { [ -f build/build.ninja ] || tools/setup.sh; } >"$log" 2>&1 ||
   ! cmake --build build -j 2 --target run_read_benchmark >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
build/bin/run_read_benchmark "$@"
