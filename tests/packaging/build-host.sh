#!/usr/bin/env bash
# Installs the build into a private prefix, builds examples/host against the
# installed package and runs it. The host is compiled and linked with the
# build's own flags (a sanitized build needs its runtime in the host too).
set -euo pipefail
build=$1
source=$2
cxxflags=${3:-}
ldflags=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null
cmake -S "$source/examples/host" -B "$work/host" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$work/host" >/dev/null
out=$(QT_QPA_PLATFORM=offscreen "$work/host/zuvexal-host" --check)
expected=$'ORDERS1.HTM\nlog beside the host'
[ "$out" = "$expected" ] || { echo "unexpected output: $out" >&2; exit 1; }
# The installed demo finds its installed sample, not the source tree's.
test -f "$work/prefix/share/zuvexal/examples/sample.db" || { echo "no installed sample" >&2; exit 1; }
if grep -q --fixed-strings "$source/examples" "$work/prefix/bin/zuvexal-demo"; then
  echo "the installed demo names the source tree's sample in $source/examples" >&2
  exit 1
fi
test -f "$work/prefix/lib/x86_64-linux-gnu/qt6/plugins/designer/libzuvexal_designer.so" \
  || test -n "$(find "$work/prefix" -name 'libzuvexal_designer.so')"
echo "installed package builds a host"
