#!/usr/bin/env bash
# Times `zuvexal report --per-page 200` over a ROWS x 8-column table on
# PostgreSQL and on MariaDB against each server's own client writing the same
# rows as one HTML table (`psql -H`, `mariadb --html`), on private servers
# that scripts/test-servers.sh starts and stops; and the PostgreSQL table
# through psqlodbc (the test DSN). They take turns, RUNS rounds after a
# warming one; each figure is the median, with the median peak resident size
# when /usr/bin/time is there. A second zuvexal, when given, reports through
# ODBC in the same rounds, to compare two builds.
#
#   bench/bench_server_report.sh [--rows N] [--runs K] [path/to/zuvexal [path/to/other/zuvexal]]
#   (defaults: 200000 rows, 5 runs, build/apps/zuvexal/zuvexal)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rows=200000
runs=5
while (($#)); do
  case $1 in
    --rows) rows=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) break ;;
  esac
done
zuvexal=${1:-${ZUVEXAL_BUILD_DIR:-$top/build}/apps/zuvexal/zuvexal}
other=${2:-}
for program in "$zuvexal" $other; do
  [ -x "$program" ] || { echo "bench_server_report: no zuvexal at $program" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'bash "$top/scripts/test-servers.sh" stop "$work/state"; rm -rf "$work"' EXIT
bash "$top/scripts/test-servers.sh" start "$work/state"
# shellcheck disable=SC1091
. "$work/state/servers.env"
export PGPASSWORD=$PG_PASSWORD MYSQL_PWD=$MY_PASSWORD ODBCSYSINI ODBCINI
pg_url="postgresql://$PG_USER@$PG_HOST:$PG_PORT/$PG_DATABASE"
my_url="mysql://$MY_USER@$MY_HOST:$MY_PORT/$MY_DATABASE"
psql_run() { psql -X -q -v ON_ERROR_STOP=1 -h "$PG_HOST" -p "$PG_PORT" -U "$PG_USER" -d "$PG_DATABASE" "$@"; }
mariadb_run() { mariadb --no-defaults -h "$MY_HOST" -P "$MY_PORT" -u "$MY_USER" "$MY_DATABASE" "$@"; }

# The same rows on both servers: integers, an exact numeric, a double, text,
# a date, a time stamp and a boolean.
psql_run -c "CREATE TABLE bench AS SELECT i AS id, i % 1000 AS qty, (i % 100000 / 100.0)::numeric(10,2) AS price,
  i * 1.5::double precision AS weight, 'Item ' || (i::bigint * 7919 % 50000) AS name, date '2024-01-01' + i % 365 AS day,
  timestamp '2024-01-01' + i * interval '1 minute' AS stamp, i % 3 = 0 AS flag
  FROM generate_series(1, $rows) AS i" -c "VACUUM ANALYZE bench"
mariadb_run -e "SET SESSION max_recursive_iterations = $rows;
  CREATE TABLE bench (id INT NOT NULL, qty INT, price DECIMAL(10,2), weight DOUBLE, name VARCHAR(20), day DATE,
    stamp DATETIME, flag BOOLEAN) ENGINE=InnoDB;
  INSERT INTO bench WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
  SELECT i, i % 1000, i % 100000 / 100.0, i * 1.5, CONCAT('Item ', i * 7919 % 50000),
    DATE '2024-01-01' + INTERVAL (i % 365) DAY, TIMESTAMP '2024-01-01 00:00:00' + INTERVAL i MINUTE, i % 3 = 0
  FROM n"

has_time=
if [ -x /usr/bin/time ]; then has_time=1; fi
# Runs a program with its output to OUT, appending its wall time in ms and
# its peak KiB to work/NAME.times.
measure() {
  local name=$1 out=$2 start elapsed peak=0
  shift 2
  start=$(date +%s%N)
  if [ -n "$has_time" ]; then
    /usr/bin/time -f %M -o "$work/peak" "$@" >"$out"
    peak=$(tail -n 1 "$work/peak")
  else
    "$@" >"$out"
  fi
  elapsed=$((($(date +%s%N) - start) / 1000000))
  echo "$elapsed $peak" >>"$work/$name.times"
}
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ms() { cut -d' ' -f1 <"$work/$1.times" | median; }
kib() { cut -d' ' -f2 <"$work/$1.times" | median; }

report=("$zuvexal" report --table bench --per-page 200 --file bench --quiet)
# The load alone: `fields` reads every row into the record set and writes
# nothing, so a report's time less its load's is what the run itself takes.
load=("$zuvexal" fields --table bench)
pg_client=(psql -X -q -h "$PG_HOST" -p "$PG_PORT" -U "$PG_USER" -d "$PG_DATABASE" -H -c "SELECT * FROM bench")
my_client=(mariadb --no-defaults -h "$MY_HOST" -P "$MY_PORT" -u "$MY_USER" "$MY_DATABASE" --html
  -e "SELECT * FROM bench")

"${pg_client[@]}" >/dev/null
"${my_client[@]}" >/dev/null
# Each report writes into a folder of its own, deleted only at the end:
# ext4 makes new files slowly while many were just deleted (bench/README.md).
for run in $(seq "$runs"); do
  mkdir -p "$work/pg$run" "$work/my$run"
  measure psql "$work/psql.html" "${pg_client[@]}"
  measure zpg /dev/null "${report[@]}" --app-folder "$work/pg$run" --db "$pg_url"
  measure mariadb "$work/mariadb.html" "${my_client[@]}"
  measure zmy /dev/null "${report[@]}" --app-folder "$work/my$run" --db "$my_url"
  measure loadpg /dev/null "${load[@]}" --db "$pg_url"
  measure loadmy /dev/null "${load[@]}" --db "$my_url"
  # The cost of the report's bytes on this disk: its own pages copied.
  measure copy /dev/null cp -r "$work/pg$run/Reports" "$work/copy$run"
  mkdir -p "$work/odbc$run"
  measure zodbc /dev/null "${report[@]}" --app-folder "$work/odbc$run" --db "odbc:$ODBC_DSN"
  if [ -n "$other" ]; then
    mkdir -p "$work/other$run"
    measure zother /dev/null "$other" "${report[@]:1}" --app-folder "$work/other$run" --db "odbc:$ODBC_DSN"
  fi
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
pages=$(find "$work/pg1/Reports" -type f | wc -l)
printf 'rows x columns            %d x 8, median of %d (PostgreSQL %s, MariaDB %s)\n' "$rows" "$runs" \
  "$(psql_run -tA -c 'SHOW server_version')" "$(mariadb_run -N -e 'SELECT VERSION()')"
printf 'psql -H                   %6d ms %8d KiB\n' "$(ms psql)" "$(kib psql)"
printf 'zuvexal report PostgreSQL %6d ms %8d KiB (%d pages)\n' "$(ms zpg)" "$(kib zpg)" "$pages"
printf 'mariadb --html            %6d ms %8d KiB\n' "$(ms mariadb)" "$(kib mariadb)"
printf 'zuvexal report MariaDB    %6d ms %8d KiB\n' "$(ms zmy)" "$(kib zmy)"
printf 'zuvexal fields PostgreSQL %6d ms %8d KiB (the load alone)\n' "$(ms loadpg)" "$(kib loadpg)"
printf 'zuvexal fields MariaDB    %6d ms %8d KiB\n' "$(ms loadmy)" "$(kib loadmy)"
printf 'cp -r of the pages        %6d ms\n' "$(ms copy)"
printf 'zuvexal report ODBC       %6d ms %8d KiB (psqlodbc, the same PostgreSQL table)\n' "$(ms zodbc)" "$(kib zodbc)"
if [ -n "$other" ]; then
  printf 'other zuvexal ODBC        %6d ms %8d KiB (%s)\n' "$(ms zother)" "$(kib zother)" "$other"
fi
# The process alone, without rows: what the peaks hold besides the record
# set and the pages in flight.
if [ -n "$has_time" ]; then
  /usr/bin/time -f %M -o "$work/peak" "$zuvexal" wait 0
  printf 'zuvexal wait 0 (baseline)           %8d KiB\n' "$(tail -n 1 "$work/peak")"
fi
printf 'PostgreSQL report / psql  time %s, peak %s\n' "$(ratio "$(ms zpg)" "$(ms psql)")" \
  "$(ratio "$(kib zpg)" "$(kib psql)")"
printf 'MariaDB report / mariadb  time %s, peak %s\n' "$(ratio "$(ms zmy)" "$(ms mariadb)")" \
  "$(ratio "$(kib zmy)" "$(kib mariadb)")"
# What the run adds to the load (making and writing the pages), beside the
# client's whole work: the part no reader can make faster.
printf 'PostgreSQL run (report - load) / psql  time %s\n' "$(ratio $(($(ms zpg) - $(ms loadpg))) "$(ms psql)")"
printf 'MariaDB run (report - load) / mariadb  time %s\n' "$(ratio $(($(ms zmy) - $(ms loadmy))) "$(ms mariadb)")"
printf 'cp -r of the pages / psql  %s, / mariadb  %s\n' "$(ratio "$(ms copy)" "$(ms psql)")" \
  "$(ratio "$(ms copy)" "$(ms mariadb)")"
printf 'ODBC report / psql        time %s, peak %s\n' "$(ratio "$(ms zodbc)" "$(ms psql)")" \
  "$(ratio "$(kib zodbc)" "$(kib psql)")"
