#!/usr/bin/env bash
# Builds examples/host against an installed ZuVexal twice, through CMake's
# find_package and through pkg-config, runs both, and compiles every C++
# example of the README against the same installation.
#   host-check.sh PREFIX SOURCE-DIR [CXXFLAGS] [LDFLAGS]
set -euo pipefail
prefix=$1
source=$2
cxxflags=${3:-}
ldflags=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
libdir=$(dirname "$(find "$prefix" -name 'libZuVexalCore.*' -print -quit)")
export PKG_CONFIG_PATH=$libdir/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}
# Static libraries need their private dependencies on the link line.
static=
[ -e "$libdir/libZuVexalCore.a" ] && static=--static
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=$work
expected=$'ORDERS1.HTM\nlog beside the host'
# Runs a step quietly; on failure shows its output's end.
quiet() {
  "$@" >"$work/step.log" 2>&1 || { tail -n 20 "$work/step.log" >&2; return 1; }
}

# Ninja where it is installed, else CMake's default (a clean machine has make).
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
quiet cmake -S "$source/examples/host" -B "$work/cmake" "${generator[@]}" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags"
quiet cmake --build "$work/cmake"
out=$("$work/cmake/zuvexal-host" --check)
[ "$out" = "$expected" ] || { echo "find_package host: unexpected output: $out" >&2; exit 1; }

mkdir "$work/pkgconfig"
# shellcheck disable=SC2046,SC2086
g++ -std=c++20 $cxxflags "$source/examples/host/main.cpp" -o "$work/pkgconfig/zuvexal-host" \
  $(pkg-config $static --cflags --libs zuvexal-widgets) -Wl,-rpath,"$libdir" $ldflags
out=$("$work/pkgconfig/zuvexal-host" --check)
[ "$out" = "$expected" ] || { echo "pkg-config host: unexpected output: $out" >&2; exit 1; }

# Each ```cpp block of the README is a whole translation unit.
awk -v dir="$work/readme" 'BEGIN { system("mkdir -p " dir) }
  /^```cpp$/ { n++; file = sprintf("%s/example%02d.cpp", dir, n); inside = 1; next }
  /^```$/ { if (inside) close(file); inside = 0; next }
  inside { print > file }' "$source/README.md"
for example in "$work"/readme/*.cpp; do
  # shellcheck disable=SC2046,SC2086
  g++ -std=c++20 -fsyntax-only $cxxflags $(pkg-config --cflags zuvexal-widgets) "$example" \
    || { echo "README example $(basename "$example") does not compile" >&2; exit 1; }
done
echo "hosts built with find_package and pkg-config; $(ls "$work"/readme | wc -l) README examples compile"
