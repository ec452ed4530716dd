#!/usr/bin/env bash
# Sets up the machine, builds ZuVexal and runs every test. Exits non-zero
# when any test fails; a set-up step that fails says which one and why.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
step() {
  local name=$1
  shift
  local log
  log=$(mktemp)
  if ! "$@" 2>"$log"; then
    echo "test.sh: $name failed: $(grep -v '^\s*$' "$log" | tail -n 1)" >&2
    rm -f "$log"
    exit 1
  fi
  rm -f "$log"
}
step "installing the packages (scripts/setup.sh)" "$top/scripts/setup.sh"
"$top/scripts/build.sh" || { echo "test.sh: the build failed (scripts/build.sh)" >&2; exit 1; }
step "starting the test printer (scripts/start-printer.sh)" "$top/scripts/start-printer.sh"
cd "$build"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
