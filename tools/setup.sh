#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, then configures and builds
# into build/. Safe to run again: it installs and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/lib.sh

install_packages setup cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev \
  qt6-charts-dev libqt6opengl6-dev libgtest-dev libgmock-dev unrtf fonts-dejavu-core \
  fonts-liberation qt6-qpa-plugins qt6-translations-l10n desktop-file-utils poppler-utils

build_type="${BUILD_TYPE:-RelWithDebInfo}"
[ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="$build_type"
cmake --build build
