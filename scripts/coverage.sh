#!/usr/bin/env bash
# Builds ZuVexal with gcc's coverage instrumentation into build-cov/ (or
# $ZUVEXAL_COV_DIR), runs the tests there and prints the line and branch
# coverage of each subsystem (gcovr). Fails when a test fails or when the
# core (src/core) has fewer than ZUVEXAL_CORE_MIN_LINES percent (default
# 95) of its lines covered.
# Extra arguments go to ctest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_COV_DIR:-$top/build-cov}
minimum=${ZUVEXAL_CORE_MIN_LINES:-95}
cmake -S "$top" --preset coverage -B "$build" >/dev/null \
  || { echo "coverage: configuring $build failed" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" || { echo "coverage: the coverage build failed" >&2; exit 1; }
find "$build" -name '*.gcda' -delete
# Left out: the packaging test (it measures the installed packages, not the
# sources) and the test that limits the process's file size, which stops
# the counters' own files from being written.
(cd "$build" && ctest --output-on-failure --timeout 900 -j "$(nproc)" \
  -E '^(Packaging\.|Faults\.AFileSizeLimit)' "$@")

# Exception edges (the unwinding paths every call has) are left out of the
# branch counts; they say nothing about which cases the tests reach.
summary() {
  gcovr --root "$top" --object-directory "$build" --exclude-throw-branches --exclude-unreachable-branches \
    --exclude '.*/tests/.*' --exclude '.*/fuzz/.*' --exclude '.*/bench/.*' --exclude '.*_autogen/.*' \
    --filter "$1" --print-summary 2>/dev/null | tail -n 3
}
percent() { sed -n "s/^$1: \([0-9.]*\)%.*/\1/p"; }

printf '%-26s %8s %9s\n' subsystem lines branches
for folder in "$top"/src/platform "$top"/src/core/* "$top"/src/ui "$top"/src/designer "$top"/apps/*; do
  [ -d "$folder" ] || continue
  out=$(summary "$folder/")
  printf '%-26s %7s%% %8s%%\n' "${folder#"$top"/}" "$(percent lines <<<"$out")" "$(percent branches <<<"$out")"
done
out=$(summary "$top/src/core/")
core=$(percent lines <<<"$out")
printf '%-26s %7s%% %8s%%\n' "src/core, all" "$core" "$(percent branches <<<"$out")"
awk -v c="$core" -v m="$minimum" 'BEGIN { exit !(c >= m) }' \
  || { echo "coverage: the core has $core% of its lines covered, below $minimum%" >&2; exit 1; }
