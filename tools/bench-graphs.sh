#!/usr/bin/env bash
# Builds the program and times the live graphs: both windows open at
# 900 x 540, 50 000 samples in every series, one sample more per tick. The
# last line is the summary: median and worst tick, resident memory.
set -euo pipefail
cd "$(dirname "$0")/.."
log="$(mktemp /tmp/bench-graphs.XXXXXX.log)"
trap 'rm -f "$log"' EXIT
if ! tools/setup.sh >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
QT_QPA_PLATFORM=offscreen build/bin/graphs_tick_benchmark "$@"
