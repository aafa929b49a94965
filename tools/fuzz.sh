#!/usr/bin/env bash
# Builds the fuzz targets (clang, AddressSanitizer and UndefinedBehaviorSanitizer,
# libFuzzer) in build-fuzz/ and runs each for SECONDS (default 60), starting
# from tests/fuzz/corpus/NAME. Prints a line per target with its executions,
# executions a second and findings; a finding's input is kept in
# build-fuzz/fuzz-findings/. Exit status 1 when any target found something.
#   tools/fuzz.sh [SECONDS]
# tools/sanitize.sh sources this file for the functions below.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

FUZZ_TARGETS=(compiler formatter rtf settings reply dump run)

# clang and its sanitizer and libFuzzer runtimes; llvm for readable stacks.
# The project's own packages come from tools/setup.sh.
install_sanitizer_toolchain() {
  install_packages fuzz clang libclang-rt-14-dev llvm cmake ninja-build
}

# Configures DIR as a sanitizer build: clang, Qt's own checks on (a Debug
# build), optimised enough that fuzzing runs at speed. GUI (ON or OFF) says
# whether the windows and their tests are in it.
configure_sanitizer_build() {
  local dir="$1" gui="$2"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DQV_FUZZ=ON -DQV_WITH_GUI="$gui" >/dev/null
}

export UBSAN_OPTIONS="${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"

# Runs every target in build folder DIR for SECONDS each and prints a line per
# target; returns 1 when any found something.
run_fuzz_targets() {
  local dir="$1" seconds="$2" name log executions rate findings status=0
  mkdir -p "$dir/fuzz-corpus" "$dir/fuzz-findings" "$dir/fuzz-logs"
  for name in "${FUZZ_TARGETS[@]}"; do
    log="$dir/fuzz-logs/$name.log"
    mkdir -p "$dir/fuzz-corpus/$name"
    touch "$log.start"
    # New inputs go to the build folder's corpus; the checked-in one is read only.
    if "$dir/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$dir/fuzz-findings/$name-" \
        "$dir/fuzz-corpus/$name" "tests/fuzz/corpus/$name" >"$log" 2>&1; then
      findings=0
    else
      findings=$(find "$dir/fuzz-findings" -name "$name-*" -newer "$log.start" | wc -l)
      [ "$findings" -gt 0 ] || findings=1  # it stopped without leaving an input
      status=1
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    echo "fuzz: $name ${executions:-?} runs in $seconds s, ${rate:-?} exec/s, $(findings_text "$findings")"
    if [ "$findings" -gt 0 ]; then
      grep -m 3 -E 'ERROR|runtime error|property violated' "$log" | sed 's/^/    /' || true
      find "$dir/fuzz-findings" -name "$name-*" -newer "$log.start" | sed 's/^/    input: /'
      echo "    log: $log"
    fi
  done
  return $status
}

findings_text() {
  case "$1" in
    0) echo "no findings" ;;
    1) echo "1 finding" ;;
    *) echo "$1 findings" ;;
  esac
}

main() {
  local seconds="${1:-60}" dir=build-fuzz targets=() name
  cd "$(dirname "$0")/.."
  install_sanitizer_toolchain
  configure_sanitizer_build "$dir" OFF
  for name in "${FUZZ_TARGETS[@]}"; do targets+=("fuzz_$name"); done
  cmake --build "$dir" -j 2 --target "${targets[@]}"
  run_fuzz_targets "$dir" "$seconds"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  main "$@"
fi
