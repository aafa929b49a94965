#!/usr/bin/env bash
# Builds (installing what is missing) and talks to the charger: the one set in
# build/bin/qv20.ini when it answers, else the bundled simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
bin=build/bin

if "$bin/qvctl" identify >/dev/null 2>&1; then
  echo "run: charger found on the configured port"
  "$bin/qvctl" identify
  "$bin/qvctl" screen
  exit 0
fi

link="$PWD/build/qvsim-link"
echo "run: no charger answers; starting the simulator at $link"
"$bin/qvsim" --link "$link" --quiet >/dev/null 2>build/qvsim.log &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
"$bin/qvctl" --port "$link" identify
"$bin/qvctl" --port "$link" screen
