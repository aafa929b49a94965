#!/usr/bin/env bash
# Builds (installing what is missing) and runs every test, offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" "$@"
