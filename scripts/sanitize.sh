#!/usr/bin/env bash
# Builds ZuVexal with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (or $ZUVEXAL_ASAN_DIR) and runs the tests under them; any
# finding fails the run. Extra arguments go to ctest (e.g. -R Lifetime).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_ASAN_DIR:-$top/build-asan}
cmake -S "$top" --preset sanitize -B "$build" >/dev/null \
  || { echo "sanitize: configuring $build failed" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" || { echo "sanitize: the sanitizer build failed" >&2; exit 1; }
cd "$build"
# Leaks fail the run too, in the tests and in the programs they start.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --output-on-failure --timeout 900 -j "$(nproc)" "$@"
