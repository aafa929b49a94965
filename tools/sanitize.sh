#!/usr/bin/env bash
# Builds the program, the tools and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer (halting on the first fault) in build-asan/, runs
# the tests (the window tests offscreen), then runs every fuzz target for
# SECONDS (default 20) as a smoke check. Fails on a failed test or any finding.
#   tools/sanitize.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/fuzz.sh

seconds="${1:-20}"
dir=build-asan
started=$SECONDS

install_sanitizer_toolchain
configure_sanitizer_build "$dir" ON
cmake --build "$dir" -j 2
(cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j 2)
run_fuzz_targets "$dir" "$seconds"
echo "sanitize: done in $((SECONDS - started)) s"
