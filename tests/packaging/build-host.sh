#!/usr/bin/env bash
# Installs the build into a private prefix and checks what a host meets
# there: only the public headers, the shared libraries with their SONAME,
# hosts built through CMake and pkg-config (host-check.sh), every kind of
# host (tests/hosts/run-hosts.sh), the demo's
# installed sample, the translation template, the reference manual and the
# Designer plugin. Hosts are compiled and linked
# with the build's own flags (a sanitized build needs its runtime in them).
set -euo pipefail
build=$1
source=$2
cxxflags=${3:-}
ldflags=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

headers=$(cd "$prefix/include" && find . -type f | sort | tr '\n' ' ')
expected="./ZuVexal/AdvancedSettings ./ZuVexal/RecordSet ./ZuVexal/RunResult ./ZuVexal/ZuVexal ./ZuVexal/ZuVexalWidget ./ZuVexal/advancedsettings.h ./ZuVexal/connectioninfo.h ./ZuVexal/container.h ./ZuVexal/recordset.h ./ZuVexal/runresult.h ./ZuVexal/sqladapter.h ./ZuVexal/windows.h ./ZuVexal/zuvexal.h ./ZuVexal/zuvexalcore_export.h ./ZuVexal/zuvexalwidget.h ./ZuVexal/zuvexalwidgets_export.h "
[ "$headers" = "$expected" ] || { echo "installed headers: $headers" >&2; exit 1; }
for lib in ZuVexalCore ZuVexalWidgets; do
  file=$(find "$prefix" -name "lib$lib.so.2.0.0" -print -quit)
  [ -n "$file" ] || { echo "no lib$lib.so.2.0.0 installed" >&2; exit 1; }
  # Not grep -q: it would stop reading at the match, and objdump, killed
  # by SIGPIPE, would fail the pipeline now and then.
  objdump -p "$file" | grep "SONAME *lib$lib.so.2$" >/dev/null || { echo "lib$lib: no SONAME lib$lib.so.2" >&2; exit 1; }
done

bash "$source/tests/packaging/host-check.sh" "$prefix" "$source" "$cxxflags" "$ldflags"
bash "$source/tests/hosts/run-hosts.sh" "$prefix" "$source" "$cxxflags" "$ldflags"

# Hosts' translators start from the installed template.
cmp -s "$source/translations/zuvexal.ts" "$prefix/share/zuvexal/translations/zuvexal.ts" \
  || { echo "the translation template is not installed" >&2; exit 1; }

# The manual, where this build makes it: its HTML and the Qt help file.
if grep -q '^ZUVEXAL_BUILD_MANUAL:BOOL=ON$' "$build/CMakeCache.txt"; then
  doc=$prefix/share/doc/libzuvexal-dev
  [ -f "$doc/html/index.html" ] && [ -f "$doc/html/classzuvexal_1_1ZuVexal.html" ] \
    || { echo "the manual's HTML is not installed in $doc/html" >&2; exit 1; }
  cmp -s "$build/docs/manual/zuvexal.qch" "$doc/zuvexal.qch" \
    || { echo "the manual's zuvexal.qch is not installed in $doc" >&2; exit 1; }
fi

# The installed demo finds its installed sample, not the source tree's.
test -f "$prefix/share/zuvexal/examples/sample.db" || { echo "no installed sample" >&2; exit 1; }
if grep -q --fixed-strings "$source/examples" "$prefix/bin/zuvexal-demo"; then
  echo "the installed demo names the source tree's sample in $source/examples" >&2
  exit 1
fi
plugin=$(find "$prefix" -path '*/qt6/plugins/designer/libzuvexal_designer.so' -print -quit)
[ -n "$plugin" ] || { echo "no designer plugin installed" >&2; exit 1; }

# A private prefix works without LD_LIBRARY_PATH: the plugin and the demo
# find the prefix's libraries (the host matrix loads the plugin too).
if ldd "$plugin" | grep 'not found' >&2; then
  echo "the installed plugin does not find its libraries" >&2
  exit 1
fi
env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work timeout 60 \
  "$prefix/bin/zuvexal-demo" --screenshots "$work/shots" >/dev/null 2>&1 \
  || { echo "the installed demo does not start from $prefix" >&2; exit 1; }
[ -n "$(ls "$work/shots")" ] || { echo "the installed demo showed nothing" >&2; exit 1; }
# Without a display: usage with --help, one line and a failure otherwise.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zuvexal-demo" --help | grep '^Usage:' >/dev/null \
  || { echo "zuvexal-demo --help fails without a display" >&2; exit 1; }
if out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/zuvexal-demo" 2>&1) \
  || [ "$out" != "zuvexal-demo: no display to show the demo on (set DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM=offscreen)" ]; then
  echo "zuvexal-demo without a display: $out" >&2
  exit 1
fi

# A shared build's pkg-config files name Qt only: a host needs no -dev
# package of the libraries' own dependencies.
libdir=$(dirname "$(find "$prefix" -name libZuVexalCore.so.2 -print -quit)")
if [ -e "$libdir/libZuVexalCore.so" ] \
  && [ -n "$(PKG_CONFIG_PATH=$libdir/pkgconfig pkg-config --print-requires-private zuvexal-core zuvexal-widgets)" ]; then
  echo "the shared build's pkg-config files have private requirements" >&2
  exit 1
fi
echo "installed package builds a host"
