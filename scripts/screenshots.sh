#!/usr/bin/env bash
# Starts zuvexal-demo on a private X server (Xvfb with openbox), opens each
# window on the sample data and saves PNG pictures of them into docs/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
[ -f "$top/examples/sample.db" ] || "$top/examples/make_sample_db.sh"

exec 3< <(Xvfb -displayfd 1 -screen 0 1280x900x24 -nolisten tcp 2>/dev/null)
read -r display <&3
xvfb=$!
export DISPLAY=:$display
openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm $xvfb 2>/dev/null || true' EXIT
sleep 1

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
cd "$work"
QT_QPA_PLATFORM=xcb ZUVEXAL_REGISTRY="$work/registry.db" \
  "$build/apps/zuvexal-demo/zuvexal-demo" --screenshots "$top/docs" "$top/examples/sample.db"
rm -rf "$work"
ls "$top/docs"/*.png
