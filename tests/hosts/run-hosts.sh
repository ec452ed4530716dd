#!/usr/bin/env bash
# Builds the host matrix against an installed ZuVexal and runs each host
# with a time limit: a host that hangs or aborts fails like one whose
# checks fail.
#   run-hosts.sh PREFIX SOURCE-DIR [CXXFLAGS] [LDFLAGS]
set -euo pipefail
prefix=$1
source=$2
cxxflags=${3:-}
ldflags=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
quiet() {
  "$@" >"$work/step.log" 2>&1 || { tail -n 20 "$work/step.log" >&2; return 1; }
}
quiet cmake -S "$source/tests/hosts" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
quiet cmake --build "$work/build"
plugins=$(dirname "$(dirname "$(find "$prefix" -path '*/qt6/plugins/designer/libzuvexal_designer.so' -print -quit)")")
export XDG_RUNTIME_DIR=$work
mkdir -p "$work/home"
failed=0
run() {
  local status=0
  timeout 120 env HOME="$work/home" "$@" >"$work/host.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    echo "host matrix: $* failed (status $status):" >&2
    tail -n 20 "$work/host.log" >&2
    failed=1
  else
    tail -n 1 "$work/host.log"
  fi
}
# A batch program has no platform plugin at all.
run env -u QT_QPA_PLATFORM "$work/build/host-batch"
run env QT_QPA_PLATFORM=offscreen "$work/build/host-gui"
run env QT_QPA_PLATFORM=offscreen "$work/build/host-gui" --windows
run env QT_QPA_PLATFORM=offscreen "$work/build/host-widgets"
run env QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="$plugins" "$work/build/host-uiloader"
exit "$failed"
