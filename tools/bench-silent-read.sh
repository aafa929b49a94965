#!/usr/bin/env bash
# Times memory reads from a charger that never answers, in the memory window
# and in qvctl side by side, each against its own silent simulator. Areas
# as qvctl names them (default: eeprom all); QV_BIN names another folder
# of built programs.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
bin="${QV_BIN:-build/bin}"
if [ $# -gt 0 ]; then areas=("$@"); else areas=(eeprom all); fi
work="$(mktemp -d /tmp/qvbench-silent.XXXXXX)"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; rm -rf "$work"' EXIT

silent_sim() {
  "$bin/qvsim" --link "$work/$1" --fault silence=1 --quiet >/dev/null 2>&1 &
  pids+=($!)
  wait_for bench-silent-read "the simulator's link $work/$1" test -e "$work/$1"
}

time_qvctl() {
  for area in "${areas[@]}"; do
    start=$(date +%s.%N)
    code=0
    "$bin/qvctl" --home "$work" --port "$work/qvctl-sim" --yes read-memory "$area" \
      --out "$work/$area.bin" 2>"$work/$area.err" || code=$?
    end=$(date +%s.%N)
    awk -v a="$area" -v s="$start" -v e="$end" -v c="$code" -v m="$(cat "$work/$area.err")" \
      'BEGIN { printf "qvctl  %-6s %8.1f s  exit %d  %s\n", a, e - s, c, m }'
  done
}

# One silent block: ten reads of the 69-byte reply at 20 ms a byte.
echo "a silent block costs 13.8 s at 38400 baud"
silent_sim window-sim
silent_sim qvctl-sim
time_qvctl &
qvctl_times=$!
# The offscreen platform's warnings only when the benchmark fails.
QT_QPA_PLATFORM=offscreen "$bin/memory_read_benchmark" "$work/window-sim" "${areas[@]}" \
  2>"$work/window.err" || { cat "$work/window.err" >&2; exit 1; }
wait "$qvctl_times"
