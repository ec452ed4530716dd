#!/usr/bin/env bash
# Configures and builds ZuVexal into build/ (or $ZUVEXAL_BUILD_DIR).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
cmake -S "$top" --preset release -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)"
