#!/usr/bin/env bash
# Fault soak: qvctl against qvsim with every fault kind at 10 %, then checks
# that nothing crashed, no command outlasted its time-outs, the link's counters
# agree with the communication log, and every reply qvctl accepted is one the
# simulator sent unspoiled. Prints the figures; exits 1 when a check fails.
#
#   tools/soak.sh [EXCHANGES] [--streams N] [--random N] [--bin DIR] [--keep]
#   tools/soak.sh --check FOLDER
#
# EXCHANGES (10000) are shared out over N (4) simulator and qvctl pairs run
# side by side: a silent reply costs up to 16.6 s, so one pair alone would
# take hours. --random fixes the simulators' random start values (N, N+1, ...)
# to repeat a run; --bin names the folder of qvsim and qvctl (build/bin);
# --keep leaves the work folder with the logs and traces, which --check
# checks and sums up again.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

exchanges=10000
streams=4
random=$(( $(date +%s) % 1000000 ))
bin=build/bin
keep=0
check=""
while [ $# -gt 0 ]; do
  case "$1" in
    --streams) streams="$2"; shift 2 ;;
    --random) random="$2"; shift 2 ;;
    --bin) bin="$2"; shift 2 ;;
    --keep) keep=1; shift ;;
    --check) check="$2"; shift 2 ;;
    [0-9]*) exchanges="$1"; shift ;;
    *) echo "soak: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [ "$streams" -lt 1 ] || [ "$exchanges" -lt "$streams" ]; then
  echo "soak: need at least one exchange per stream" >&2
  exit 2
fi

baud=38400
rate=0.1
if [ -n "$check" ]; then
  work="$check"
  keep=1
  streams=$(find "$work" -maxdepth 1 -name 's[0-9]*' -type d | wc -l)
else
  work="$(mktemp -d /tmp/qvsoak.XXXXXX)"
fi
pids=()
# Also when interrupted or timed out: no simulator is left behind.
cleanup() {
  for pid in "${pids[@]}" $(cat "$work"/s*/sim.pid 2>/dev/null); do
    kill "$pid" 2>/dev/null || true
  done
  if [ "$keep" -eq 1 ]; then echo "soak: work folder $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# One pair: the simulator traces every reply with the faults it applied;
# qvctl writes the communication log and prints its counters.
run_stream() {
  local dir="$1" count="$2" start_value="$3"
  mkdir -p "$dir"
  "$bin/qvsim" --faults "$rate" --random "$start_value" --trace >"$dir/sim.out" 2>"$dir/sim.err" &
  local sim=$!
  echo "$sim" >"$dir/sim.pid"
  wait_for soak "the simulator's device in $dir/sim.out" test -s "$dir/sim.out"
  local device
  device="$(head -n 1 "$dir/sim.out")"
  local start end code=0
  start=$(date +%s%N)
  "$bin/qvctl" --home "$dir" --port "$device" --baud "$baud" --log soak --exchanges "$count" \
    >"$dir/qvctl.out" 2>"$dir/qvctl.err" || code=$?
  end=$(date +%s%N)
  echo "$code" >"$dir/qvctl.code"
  echo $(( (end - start) / 1000000 )) >"$dir/qvctl.ms"
  kill -TERM "$sim" 2>/dev/null || true
  local simcode=0
  wait "$sim" || simcode=$?
  rm -f "$dir/sim.pid"
  echo "$simcode" >"$dir/sim.code"
}

# Reads one stream's simulator trace, communication log (UTF-8, no CR) and
# qvctl counters; prints "key value" lines, and "violation ..." lines for
# faults. A reply counts as accepted when its command ends without a failure
# line; it must be a frame the simulator sent unspoiled. Comparing exchange by
# exchange (silences against "Timeout!") depends on timing on a loaded
# machine, so it only gives figures.
analyse() {
  awk -v baud="$baud" '
    function hexval(h,   i, v) {
      v = 0
      for (i = 1; i <= length(h); i++) v = v * 16 + index("0123456789ABCDEF", substr(h, i, 1)) - 1
      return v
    }
    # Bytes are " XX XX ..."; byte k (from 1) starts at 3k - 1.
    function frameLength(bytes,   code) {
      code = hexval(substr(bytes, 2, 2))
      if (code == 135) return 10
      if (code == 165) return 25
      if (code == 150 || code == 180 || code == 195 || code == 210 || code == 225) return 83
      if (code == 90) return hexval(substr(bytes, 11, 2)) + 5
      if (code == 31 || code == 60 || code == 75) return 2
      if (code == 45) return 7
      return 1
    }
    function violation(text) { print "violation " text; ++violations }
    function closeAttempt(accepted,   want) {
      if (!attemptOpen) return
      attemptOpen = 0
      want = simFaults[attempt]
      if (silent != (want ~ / silence/)) ++outOfStep
      if (accepted && !(received in unspoiled))
        violation("exchange " attempt ": accepted a reply the simulator never sent whole:" received)
      if (!accepted && !silent && length(received) > 0 && want !~ / (silence|badcrc|short|nak)/)
        ++goodRejected
    }
    function closeCommand(   accepted) {
      if (!inCommand) return
      accepted = !exhausted && !failure && !silent && replyLength > 0 && attemptsHere > 0
      closeAttempt(accepted)
      ++commands
      if (accepted) ++acceptedCommands; else ++failedCommands
      retries += attemptsHere - 1 + (exhausted ? 1 : 0)
      inCommand = 0
    }
    FNR == 1 { ++file }
    # The simulator: "t tx HEX... faults" per request, then its statistics.
    file == 1 && $2 == "tx" {
      ++frames; bytes = ""; faults = ""
      for (i = 3; i <= NF; i++) {
        if ($i ~ /^[0-9A-F][0-9A-F]$/) bytes = bytes " " $i
        else faults = faults " " $i
      }
      simFaults[frames] = faults
      if (faults !~ / (silence|badcrc|short|nak)/) unspoiled[substr(bytes, 1, 3 * frameLength(bytes))] = 1
      next
    }
    file == 1 && NF == 2 && $2 ~ /^[0-9]+$/ { sim[$1] = $2; next }
    # The communication log, time stamp first.
    file == 2 {
      line = substr($0, 10)
      if (line ~ /^U_/) { closeCommand(); inCommand = 1; attemptsHere = 0; exhausted = 0; failure = 0; next }
      if (line ~ /^Send \(/) {
        closeAttempt(0)
        ++attempt; ++attemptsHere; attemptOpen = 1; silent = 0; replyLength = 0; received = ""
        requestLength = hexval(substr(line, 7, 2))
        next
      }
      if (line ~ /^Receive \(/) {
        replyLength = hexval(substr(line, 10, 2))
        received = substr(line, 13)
        sub(/^ +/, "", received); if (received != "") received = " " received
        if (replyLength > 0) { bytesReceived += replyLength; bytesSent += requestLength }
        next
      }
      if (line == "Timeout!") { silent = 1; ++timeouts; next }
      if (line ~ /^Команду не удалось/) { exhausted = 1; next }
      if (line ~ /^Произошла ошибка/) { failure = 1; next }
      next
    }
    file == 3 && NF == 2 { qvctl[$1] = $2 }
    END {
      closeCommand()
      perByte = int(16000 / baud) + 20
      split("adc 25 screen 83 memory 69", kinds, " ")
      for (k = 1; k < 6; k += 2) {
        # Five attempts of ten reads, each bounded by the total time-out.
        bound = 5 * 10 * kinds[k + 1] * perByte + 1000
        ms = qvctl["longest." kinds[k] ".ms"] + 0
        print "longest." kinds[k] ".ms " ms
        print "bound." kinds[k] ".ms " bound
        if (ms > bound) violation(kinds[k] " command took " ms " ms, the time-outs allow " bound)
      }
      check("exchanges", attempt); check("retries", retries); check("accepted", acceptedCommands)
      check("failed", failedCommands); check("bytes.sent", bytesSent)
      check("bytes.received", bytesReceived); check("commands", commands)
      print "exchanges " attempt; print "commands " commands; print "accepted " acceptedCommands
      print "failed " failedCommands; print "retries " retries; print "bytes.sent " bytesSent
      print "bytes.received " bytesReceived; print "port.opens " qvctl["port.opens"] + 0
      print "timeouts " timeouts + 0
      split("silence badcrc nak short long delay", names, " ")
      for (k = 1; k <= 6; k++) print "fault." names[k] " " sim["fault." names[k]] + 0
      print "sim.requests " sim["requests"] + 0
      print "sim.incomplete " sim["requests.incomplete"] + 0
      print "out.of.step " outOfStep + 0
      print "good.rejected " goodRejected + 0
      print "violations " violations + 0
    }
    function check(key, fromLog) {
      if (qvctl[key] != fromLog) violation("qvctl " key " " qvctl[key] " but the log gives " fromLog)
    }
  ' "$1/sim.err" <(cat "$1"/LOG/*.txt | iconv -f CP1251 -t UTF-8 | tr -d '\r') "$1/qvctl.out"
}

if [ -z "$check" ]; then
  echo "soak: $exchanges exchanges over $streams streams, every fault kind at $rate," \
    "random start $random"
  for s in $(seq 0 $((streams - 1))); do
    share=$(( exchanges / streams + (s < exchanges % streams ? 1 : 0) ))
    run_stream "$work/s$s" "$share" $((random + s)) &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid"; done
  pids=()
fi

failed=0
for s in $(seq 0 $((streams - 1))); do
  dir="$work/s$s"
  code=$(cat "$dir/qvctl.code")
  simcode=$(cat "$dir/sim.code")
  if [ "$code" -ne 0 ]; then
    echo "soak: stream $s: qvctl ended with $code: $(head -c 300 "$dir/qvctl.err")"
    failed=1
  fi
  if [ "$simcode" -ne 0 ]; then
    echo "soak: stream $s: qvsim ended with $simcode"
    failed=1
  fi
  analyse "$dir" >"$dir/figures"
  grep '^violation ' "$dir/figures" | sed "s/^/soak: stream $s: /" | head -20 || true
done

# Sums over the streams; the longest commands and their bounds are maxima.
cat "$work"/s*/figures | awk '
  $1 == "violation" { next }
  $1 ~ /^(longest|bound)\./ { if ($2 > value[$1]) value[$1] = $2; next }
  { value[$1] += $2 }
  END {
    order = "exchanges commands accepted failed retries bytes.sent bytes.received port.opens " \
            "timeouts fault.silence fault.badcrc fault.nak fault.short fault.long fault.delay " \
            "sim.requests sim.incomplete out.of.step good.rejected " \
            "longest.adc.ms bound.adc.ms longest.screen.ms bound.screen.ms " \
            "longest.memory.ms bound.memory.ms violations"
    n = split(order, keys, " ")
    for (i = 1; i <= n; i++) printf "%-18s %s\n", keys[i], value[keys[i]] + 0
  }' | tee "$work/total"
wall=$(cat "$work"/s*/qvctl.ms | sort -n | tail -n 1)
echo "wall.ms            $wall"
if [ "$(awk '$1 == "violations" { print $2 }' "$work/total")" -ne 0 ]; then failed=1; fi
if [ "$failed" -ne 0 ]; then
  echo "soak: FAILED"
  keep=1
  exit 1
fi
echo "soak: passed"
