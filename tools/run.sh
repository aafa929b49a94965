#!/usr/bin/env bash
# Builds (installing what is missing) and starts qv20: on the charger set in
# build/bin/qv20.ini when it answers, else on the built-in demo charger.
# Without a display it shows the simulator's screen through qvctl instead.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh
tools/setup.sh
bin="$PWD/build/bin"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run: no display to show the window on; the simulator's screen through qvctl:"
  link="$(mktemp -u "${TMPDIR:-/tmp}/qvsim.XXXXXX")"
  "$bin/qvsim" --link "$link" --quiet >/dev/null 2>build/qvsim.log &
  sim=$!
  trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
  wait_for run "the simulator (see build/qvsim.log)" test -e "$link"
  "$bin/qvctl" --port "$link" identify
  "$bin/qvctl" --port "$link" screen
  exit 0
fi

cd "$bin"
if ./qvctl identify >/dev/null 2>&1; then
  echo "run: charger found on the configured port"
  exec ./qv20
fi
echo "run: no charger answers on the configured port; starting on the built-in demo charger"
exec ./qv20 --demo
