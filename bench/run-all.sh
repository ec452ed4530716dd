#!/usr/bin/env bash
# Runs every report speed and memory benchmark, each next to its peer in the
# same run, and prints what each program prints (figures and ratios):
#   200,000 x 8 and 1,000,000 x 8 rows: `zuvexal report` against
#     `sqlite3 -html` and `cp -r` of the same pages, with peak memory;
#   the report window on 1,000,000 rows;
#   loading 1,000,000 x 10 rows against the sqlite3 shell;
#   200,000 x 8 rows from PostgreSQL and MariaDB against `psql -H` and
#     `mariadb --html`, and 1,000,000 x 8 from both, with peak memory.
# Usage: bench/run-all.sh [BUILD_DIR] [WORK_DIR]
# The databases (about 230 MiB) stay in WORK_DIR for the next run; each run
# writes about 13 GiB of pages there and deletes them at the end.
set -euo pipefail
case "${1:-}" in
-h | --help)
    sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
    exit 0
    ;;
esac
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -- "${1:-$top/build}")
work=${2:-${TMPDIR:-/tmp}/zuvexal-bench}

command -v sqlite3 >/dev/null || { echo "run-all.sh: needs the sqlite3 shell" >&2; exit 1; }
command -v psql >/dev/null && command -v mariadb >/dev/null \
  || { echo "run-all.sh: needs psql and mariadb (scripts/setup.sh)" >&2; exit 1; }
cmake --build "$build" --target zuvexal bench_report bench_reportwindow bench_recordset >/dev/null
mkdir -p "$work"
cd "$work"
# The report benchmarks keep their pages under WORK_DIR too.
export TMPDIR=$work

echo "== 200,000 x 8, --per-page 200"
"$build/bench/bench_report" --rows 200000 --runs 7
echo
echo "== 1,000,000 x 8, --per-page 200"
"$build/bench/bench_report" --rows 1000000 --runs 3
echo
echo "== report window on 1,000,000 rows"
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/bench_reportwindow"
echo
echo "== loading 1,000,000 x 10"
"$build/bench/bench_recordset"
echo
echo "== 200,000 x 8 from PostgreSQL and MariaDB, --per-page 200"
bash "$top/bench/bench_server_report.sh" "$build/apps/zuvexal/zuvexal"
echo
echo "== 1,000,000 x 8 from PostgreSQL and MariaDB, --per-page 200"
bash "$top/bench/bench_server_report.sh" --rows 1000000 --runs 3 "$build/apps/zuvexal/zuvexal"
