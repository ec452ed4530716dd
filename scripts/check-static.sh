#!/usr/bin/env bash
# Builds ZuVexal with static public libraries (ZUVEXAL_SHARED=OFF) into
# build-static/ (or $ZUVEXAL_STATIC_DIR), installs it into a private prefix
# and builds examples/host against it through CMake and pkg-config.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_STATIC_DIR:-$top/build-static}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake -S "$top" --preset static -B "$build" >/dev/null \
  || { echo "check-static: configuring $build failed" >&2; exit 1; }
cmake --build "$build" -j "$(nproc)" >/dev/null || { echo "check-static: the static build failed" >&2; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null
bash "$top/tests/packaging/host-check.sh" "$prefix" "$top"
