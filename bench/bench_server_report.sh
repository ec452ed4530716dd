#!/usr/bin/env bash
# Times `zuvexal report --per-page 200` over a 200,000-row x 8-column
# PostgreSQL table against psql writing the same rows as one HTML table, on a
# private server that scripts/test-servers.sh starts and stops. Each figure
# is the best of three runs; a first psql run warms the server's cache.
#
#   bench/bench_server_report.sh [path/to/zuvexal]   (default: build/apps/zuvexal/zuvexal)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
zuvexal=${1:-${ZUVEXAL_BUILD_DIR:-$top/build}/apps/zuvexal/zuvexal}
[ -x "$zuvexal" ] || { echo "bench_server_report: no zuvexal at $zuvexal" >&2; exit 1; }
rows=200000

work=$(mktemp -d)
trap 'bash "$top/scripts/test-servers.sh" stop "$work/state"; rm -rf "$work"' EXIT
bash "$top/scripts/test-servers.sh" start "$work/state"
# shellcheck disable=SC1091
. "$work/state/servers.env"
export PGPASSWORD=$PG_PASSWORD
url="postgresql://$PG_USER@$PG_HOST:$PG_PORT/$PG_DATABASE"
psql_run() { psql -X -q -v ON_ERROR_STOP=1 -h "$PG_HOST" -p "$PG_PORT" -U "$PG_USER" -d "$PG_DATABASE" "$@"; }

psql_run -c "CREATE TABLE bench AS SELECT i AS id, i % 1000 AS qty, (i % 100000 / 100.0)::numeric(10,2) AS price,
  i * 1.5::double precision AS weight, 'Item ' || (i * 7919 % 50000) AS name, date '2024-01-01' + i % 365 AS day,
  timestamp '2024-01-01' + i * interval '1 minute' AS stamp, i % 3 = 0 AS flag
  FROM generate_series(1, $rows) AS i" -c "VACUUM ANALYZE bench"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
best=
# Runs the command three times; best holds the shortest time in ms.
best_of_three() {
  best=
  local start elapsed
  for _ in 1 2 3; do
    rm -rf "$work/app/Reports"
    start=$(now_ms)
    "$@" >/dev/null
    elapsed=$(($(now_ms) - start))
    if [ -z "$best" ] || [ "$elapsed" -lt "$best" ]; then best=$elapsed; fi
  done
}

mkdir -p "$work/app"
psql_run -H -c "SELECT * FROM bench" -o "$work/psql.html"
best_of_three psql_run -H -c "SELECT * FROM bench" -o "$work/psql.html"
psql_ms=$best
best_of_three "$zuvexal" report --db "$url" --table bench --per-page 200 --app-folder "$work/app" --file bench --quiet
report_ms=$best

pages=$(find "$work/app/Reports" -type f | wc -l)
pages_kb=$(du -sk "$work/app/Reports" | cut -f1)
html_kb=$(du -k "$work/psql.html" | cut -f1)
printf 'rows x columns            %d x 8 (PostgreSQL %s)\n' "$rows" "$(psql_run -tA -c 'SHOW server_version')"
printf 'psql -H                   %d ms (%d KiB)\n' "$psql_ms" "$html_kb"
printf 'zuvexal report            %d ms (%d pages, %d KiB)\n' "$report_ms" "$pages" "$pages_kb"
printf 'time report / psql        %s\n' "$(awk -v r="$report_ms" -v p="$psql_ms" 'BEGIN { printf "%.2f", r / p }')"
