#!/usr/bin/env bash
# Times a full memory read against the simulator emulating the wire at
# 38400 baud and prints it beside the wire minimum.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
bin=build/bin
runs="${1:-3}"
link="$(mktemp -u /tmp/qvsim-bench.XXXXXX)"
out="$(mktemp /tmp/qvbench.XXXXXX.bin)"
"$bin/qvsim" --link "$link" --baud 38400 --quiet >/dev/null 2>/dev/null &
sim=$!
trap 'kill $sim 2>/dev/null; rm -f "$out"' EXIT
wait_for bench-read-memory "the simulator's link $link" test -e "$link"

# 304 exchanges of a 5-byte request and a 69-byte reply, 10 bits a byte.
minimum=$(awk 'BEGIN { print 304 * 74 * 10 / 38400 }')
printf 'wire minimum  %.3f s\n' "$minimum"
for run in $(seq "$runs"); do
  start=$(date +%s.%N)
  "$bin/qvctl" --port "$link" --baud 38400 --yes read-memory all --out "$out"
  end=$(date +%s.%N)
  awk -v run="$run" -v s="$start" -v e="$end" -v m="$minimum" \
    'BEGIN { printf "run %d        %.3f s  ratio %.3f\n", run, e - s, (e - s) / m }'
done
