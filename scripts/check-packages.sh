#!/usr/bin/env bash
# Builds the Debian packages from build/ (or $ZUVEXAL_BUILD_DIR), installs
# them with apt-get as a user would, builds examples/host against them
# through CMake and pkg-config and the host matrix (tests/hosts), runs them
# and the installed CLI, and removes
# the packages again. Needs root and a configured build (scripts/build.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
packages=(libzuvexal2 libzuvexal-dev zuvexal)

rm -rf "$build/packages"
(cd "$build" && cpack -G DEB >/dev/null)
debs=()
for p in "${packages[@]}"; do
  deb=$(find "$build/packages" -maxdepth 1 -name "${p}_*.deb" -print -quit)
  [ -n "$deb" ] || { echo "check-packages: no ${p} package built" >&2; exit 1; }
  debs+=("$deb")
done
trap 'DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${packages[@]}" >/dev/null' EXIT
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${debs[@]}" >/dev/null

# Only the public headers and nothing of the build tree.
if dpkg -L libzuvexal-dev | grep '^/usr/include/ZuVexal/.*/' >/dev/null; then
  echo "check-packages: libzuvexal-dev installs private headers" >&2
  exit 1
fi
dpkg -L libzuvexal2 | grep '/libZuVexalCore.so.2$' >/dev/null
dpkg -L libzuvexal-dev | grep '/qt6/plugins/designer/libzuvexal_designer.so$' >/dev/null
# The reference manual, where the build made it.
if grep -q '^ZUVEXAL_BUILD_MANUAL:BOOL=ON$' "$build/CMakeCache.txt"; then
  for file in /usr/share/doc/libzuvexal-dev/html/index.html /usr/share/doc/libzuvexal-dev/zuvexal.qch; do
    dpkg -L libzuvexal-dev | grep -x "$file" >/dev/null \
      || { echo "check-packages: libzuvexal-dev lacks $file" >&2; exit 1; }
  done
fi

# Programs, libraries and the plugin are stripped and carry no RUNPATH.
for file in $(dpkg -L "${packages[@]}" | grep -E '^/usr/bin/|\.so(\.[0-9.]+)?$'); do
  [ -f "$file" ] && [ ! -L "$file" ] || continue
  if file -b "$file" | grep 'not stripped' >/dev/null || objdump -p "$file" | grep 'R.*PATH' >/dev/null; then
    echo "check-packages: $file is not stripped or has a RUNPATH" >&2
    exit 1
  fi
done

bash "$top/tests/packaging/host-check.sh" /usr "$top"
bash "$top/tests/hosts/run-hosts.sh" /usr "$top"

work=$(mktemp -d)
trap 'rm -rf "$work"; DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq "${packages[@]}" >/dev/null' EXIT
if ! out=$(cd "$work" && QT_QPA_PLATFORM=offscreen /usr/bin/zuvexal report \
  --db /usr/share/zuvexal/examples/sample.db --table orders --per-page 10 --pictures Photo \
  --picture-folders /usr/share/zuvexal/examples/pictures --file orders.htm 2>&1) \
  || [ ! -s "$work/Reports/orders1.htm" ]; then
  echo "check-packages: the installed CLI wrote no report: $out" >&2
  exit 1
fi
echo "check-packages: ${packages[*]} install, build a host both ways and report"
