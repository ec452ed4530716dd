#!/usr/bin/env bash
# Sets up the machine, builds ZuVexal and runs every test. Exits non-zero
# when any test fails.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
"$top/scripts/start-printer.sh" 2>/dev/null
cd "$build"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
