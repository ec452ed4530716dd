#!/usr/bin/env bash
# The tree as another project's subproject (FetchContent from a local path):
# only the libraries are built, and the native server readers follow the
# clients found. Without the server clients' development files (hidden
# from pkg-config here) the library builds and a host writes a report from
# SQLite; with them, the readers are on.
#   check-subproject.sh SOURCE-DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work
trap 'rm -rf "$work"' EXIT
fail() { echo "check-subproject: $*" >&2; exit 1; }

# pkg-config's own search path without libpq, MariaDB's client and unixODBC.
mkdir "$work/pc"
for folder in $(pkg-config --variable pc_path pkg-config | tr ':' ' '); do
  [ -d "$folder" ] || continue
  for pc in "$folder"/*.pc; do
    case $(basename "$pc") in
      libpq.pc | libmariadb.pc | mariadb.pc | odbc.pc | odbcinst.pc | odbccr.pc) ;;
      *) [ -e "$work/pc/$(basename "$pc")" ] || ln -s "$pc" "$work/pc/" ;;
    esac
  done
done

PKG_CONFIG_LIBDIR=$work/pc cmake -S "$source/tests/subproject" -B "$work/without" -G Ninja \
  -DZUVEXAL_SOURCE="$source" >"$work/without.log" 2>&1 || { tail -n 20 "$work/without.log" >&2; fail "configuring without the server clients failed"; }
for reader in postgresreader mariadbreader odbcreader; do
  grep -q "Native reader: $reader off" "$work/without.log" || fail "$reader is on without its client"
done
# The libraries only: no test, benchmark, fuzz target, CLI, demo, plugin or manual.
targets=$(ninja -C "$work/without" -t targets all | cut -d: -f1)
for own in test_cli test_session bench_report zuvexal zuvexal-demo zuvexal_designer zuvexal_manual; do
  ! grep -qx "$own" <<<"$targets" || fail "the subproject builds $own"
done
grep -q "Qt6Test" "$work/without/CMakeCache.txt" && fail "the subproject looked for Qt6::Test"
cmake --build "$work/without" --target subproject-host >"$work/build.log" 2>&1 \
  || { tail -n 20 "$work/build.log" >&2; fail "building without the server clients failed"; }
"$work/without/subproject-host" || fail "the host built without the server clients wrote no report"

cmake -S "$source/tests/subproject" -B "$work/with" -G Ninja -DZUVEXAL_SOURCE="$source" >"$work/with.log" 2>&1 \
  || { tail -n 20 "$work/with.log" >&2; fail "configuring with the server clients failed"; }
for reader in postgresreader mariadbreader odbcreader; do
  grep -q "Native reader: $reader (" "$work/with.log" || fail "$reader is off with its client present"
done
echo "check-subproject: the libraries alone, with and without the server clients"
