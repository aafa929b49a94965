#!/usr/bin/env bash
# Builds (installing what is missing) and starts qv20: on the charger set in
# build/bin/qv20.ini when it answers, else on the bundled simulator, mapped
# through the [PORTS] section of a settings file of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
bin="$PWD/build/bin"
home=()

if "$bin/qvctl" identify >/dev/null 2>&1; then
  echo "run: charger found on the configured port"
else
  sim_home="$PWD/build/sim-home"
  link="$sim_home/qvsim-link"
  mkdir -p "$sim_home"
  # The simulator's settings are kept apart from those of a real charger.
  [ -f "$sim_home/qv20.ini" ] || printf '[COMMON]\r\nCOM=1\r\n' >"$sim_home/qv20.ini"
  python3 - "$sim_home/qv20.ini" "$link" <<'PY' 2>/dev/null || printf '[COMMON]\r\nCOM=1\r\n[PORTS]\r\nCOM1=%s\r\n' "$link" >"$sim_home/qv20.ini"
import re, sys
path, link = sys.argv[1], sys.argv[2]
text = open(path, encoding="cp1251").read().replace("\r\n", "\n")
text = re.sub(r"(?ims)^\[PORTS\]\n.*?(?=^\[|\Z)", "", text).rstrip("\n")
open(path, "w", encoding="cp1251", newline="\r\n").write(text + "\n[PORTS]\nCOM1=" + link + "\n")
PY
  echo "run: no charger answers; starting the simulator at $link (choose COM1)"
  "$bin/qvsim" --link "$link" --quiet >/dev/null 2>build/qvsim.log &
  sim=$!
  trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
  for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
  home=(--home "$sim_home")
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run: no display to show the window on; the charger's screen through qvctl:"
  "$bin/qvctl" "${home[@]}" identify
  "$bin/qvctl" "${home[@]}" screen
  exit 0
fi
cd "$bin"
./qv20 "${home[@]}"
