#!/usr/bin/env bash
# Compares the shared libraries of build/ (or $ZUVEXAL_BUILD_DIR) with the
# ABI baselines in abi/, one per SONAME, made by libabigail from the
# installed headers. Added functions pass; anything else that changes what
# a host built against the baseline relies on (a removed or changed
# function, a type that changed size or layout) fails, unless the SONAME
# changed too, which then needs a baseline of its own.
#   scripts/check-abi.sh           check
#   scripts/check-abi.sh --update  write the baselines from the build
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${ZUVEXAL_BUILD_DIR:-$top/build}
update=false
case "${1:-}" in
  --update) update=true ;;
  "") ;;
  -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
  *) echo "check-abi: unknown argument '$1' (see --help)" >&2; exit 2 ;;
esac
command -v abidw >/dev/null || { echo "check-abi: abidw not found (Debian package abigail-tools)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The headers a host sees, as installed.
cmake --install "$build" --prefix "$work/stage" --component dev >/dev/null
headers=$work/stage/include/ZuVexal
[ -d "$headers" ] || { echo "check-abi: no headers installed from $build" >&2; exit 1; }
options=(--suppressions "$top/abi/internals.suppr" --headers-dir "$headers" --drop-private-types)

status=0
for name in ZuVexalCore ZuVexalWidgets; do
  library=$(find "$build/src" -maxdepth 1 -name "lib$name.so.*.*" -print -quit)
  [ -n "$library" ] || { echo "check-abi: lib$name not built in $build/src" >&2; exit 1; }
  soname=$(objdump -p "$library" | awk '$1 == "SONAME" { print $2 }')
  baseline=$top/abi/$soname.abi.xz
  if $update; then
    abidw "${options[@]}" --no-corpus-path --no-show-locs --type-id-style hash \
      --out-file "$work/$soname.abi" "$library"
    xz -9 -c "$work/$soname.abi" >"$baseline"
    echo "check-abi: wrote abi/$soname.abi.xz"
    continue
  fi
  if [ ! -f "$baseline" ]; then
    echo "check-abi: $soname has no baseline: a new SONAME comes with one (scripts/check-abi.sh --update)" >&2
    status=1
    continue
  fi
  xz -d -c "$baseline" >"$work/$soname.abi"
  rc=0
  abidiff --no-added-syms --suppressions "$top/abi/internals.suppr" \
    "$work/$soname.abi" "$library" >"$work/report" || rc=$?
  if [ "$rc" -ne 0 ]; then
    cat "$work/report" >&2
    echo "check-abi: $soname changed its ABI (abidiff $rc): keep the interface, or raise the SONAME with a new baseline" >&2
    status=1
  else
    echo "check-abi: $soname keeps its ABI"
  fi
done
exit $status
