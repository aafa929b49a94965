#!/usr/bin/env bash
# Takes the README's screenshots as a user sees the program: qv20 on the
# built-in demo charger, on a virtual display with a window manager, its
# windows opened from the menu as a user would, after SECONDS of polling
# (default 45). Writes docs/screenshots/*.png.
#   tools/screenshots.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-45}"
tools/setup.sh >/dev/null

source tools/lib.sh
install_packages screenshots xvfb x11-utils openbox xdotool imagemagick

out="$PWD/docs/screenshots"
home="$(mktemp -d)"
display=":$((90 + RANDOM % 100))"
mkdir -p "$out"
Xvfb "$display" -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
qv20=""
wm=""
trap 'kill $qv20 $wm $xvfb 2>/dev/null || true; rm -rf "$home"' EXIT
export DISPLAY="$display"
wait_for screenshots "the virtual display $display" bash -c "xdpyinfo -display $display >/dev/null 2>&1"
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# Poll every second, so that the charts have a curve to show.
printf '[COMMON]\r\nTimer=1\r\n' >"$home/qv20.ini"
build/bin/qv20 --home "$home" --demo >/dev/null 2>&1 &
qv20=$!

window() {  # the id of the window with this caption, waiting for it
  local id=""
  for _ in $(seq 50); do
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ] && break
    sleep 0.1
  done
  if [ -z "$id" ]; then
    echo "screenshots: no window \"$1\"" >&2
    exit 1
  fi
  echo "$id"
}

main=$(window "QV v2.0")
for keys in ctrl+F5 ctrl+F6 ctrl+F7; do
  xdotool windowactivate --sync "$main" key "$keys"
  sleep 0.5
done
echo "screenshots: polling the demo charger for $seconds s"
sleep "$seconds"

shoot() {  # caption, file name
  local id
  id=$(window "$1")
  xdotool windowactivate --sync "$id"
  sleep 0.7
  import -window "$id" "$out/$2.png"
  echo "screenshots: $out/$2.png"
}

shoot "QV v2.0" main-window
shoot "Приборы 1 канала" instruments
shoot "Графики 1 канала" graphs
import -window root "$out/desktop.png"
echo "screenshots: $out/desktop.png"
xdotool windowactivate --sync "$main" key alt+r
sleep 1
shoot "Редактор макросов" macro-editor
xdotool windowactivate --sync "$main" key shift+F1
sleep 1
shoot "Справка.*" help
