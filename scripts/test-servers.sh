#!/usr/bin/env bash
# Starts or stops private database servers for the tests and benchmarks:
# PostgreSQL and MariaDB, each listening on 127.0.0.1 at a free port and on a
# socket in a fresh folder under $TMPDIR, and an ODBC DSN (unixODBC +
# psqlodbc) pointing at that PostgreSQL server; MariaDB's ODBC driver is
# registered too, for connection strings.
#
#   test-servers.sh start STATE [FIXTURE]   STATE/servers.env then describes them
#   test-servers.sh stop STATE
#
# FIXTURE, when given, is a folder with postgresql.sql, mariadb.sql and
# sqlite.sql: each server's database gets its file, and STATE/fixture.db is
# the SQLite database made from sqlite.sql. A start over a previous run's
# STATE stops that run first. Every wait is bounded; a server that does not
# come up ends the start with its log's last lines, and nothing stays behind.
set -euo pipefail

usage() { echo "usage: $0 start STATE [FIXTURE] | stop STATE" >&2; exit 2; }
(($# >= 2)) || usage
action=$1
state=$(mkdir -p "$2" && cd "$2" && pwd)
env_file=$state/servers.env

# initdb refuses to run as root, and mariadbd should not.
as() {
  local user=$1
  shift
  if [ "$(id -u)" -eq 0 ]; then runuser -u "$user" -- "$@"; else "$@"; fi
}

port_in_use() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

free_port() {
  local port
  for _ in $(seq 50); do
    port=$((20000 + RANDOM % 40000))
    port_in_use "$port" || { echo "$port"; return; }
  done
  echo "test-servers: no free port found" >&2
  return 1
}

password() { head -c 18 /dev/urandom | base64 | tr -dc 'A-Za-z0-9'; }

stop_run() {
  local run=$1 pg_bin=$2
  if [ -f "$run/pg/data/postmaster.pid" ]; then
    as postgres "$pg_bin/pg_ctl" -D "$run/pg/data" -m fast -w -t 30 stop >/dev/null 2>&1 \
      || as postgres "$pg_bin/pg_ctl" -D "$run/pg/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  if [ -f "$run/my/mariadbd.pid" ]; then
    local pid
    pid=$(cat "$run/my/mariadbd.pid")
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 300); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -rf "$run"
}

stop() {
  [ -f "$env_file" ] || return 0
  local run pg_bin
  run=$(sed -n 's/^ZUVEXAL_SERVERS_RUN=//p' "$env_file")
  pg_bin=$(sed -n 's/^PG_BIN=//p' "$env_file")
  if [ -n "$run" ]; then stop_run "$run" "$pg_bin"; fi
  rm -f "$env_file" "$state/fixture.db"
}

# Prints the last lines of a log and fails.
failed() {
  echo "test-servers: $1" >&2
  if [ -f "$2" ]; then tail -n 5 "$2" | sed 's/^/  /' >&2; fi
  return 1
}

start_postgresql() {
  local pg=$run/pg
  mkdir "$pg"
  pg_super=$(password)
  (umask 077 && printf '%s\n' "$pg_super" >"$pg/superuser")
  if [ "$(id -u)" -eq 0 ]; then chown -R postgres: "$pg"; fi
  as postgres "$pg_bin/initdb" -D "$pg/data" -U postgres --pwfile="$pg/superuser" -A scram-sha-256 \
    -E UTF8 --locale=C.UTF-8 --no-sync >"$pg/initdb.log" 2>&1 || failed "initdb failed" "$pg/initdb.log"
  rm -f "$pg/superuser"
  # Another program may take the free port first: try another.
  for _ in 1 2 3; do
    pg_port=$(free_port)
    if as postgres "$pg_bin/pg_ctl" -D "$pg/data" -l "$pg/server.log" -w -t 60 \
      -o "-k $pg -c listen_addresses=127.0.0.1 -p $pg_port -c fsync=off" start >/dev/null 2>&1; then
      pg_socket=$pg
      break
    fi
    pg_port=
  done
  [ -n "$pg_port" ] || failed "PostgreSQL did not start" "$pg/server.log"
  pg_password=$(password)
  PGPASSWORD=$pg_super psql -X -q -v ON_ERROR_STOP=1 -h "$pg" -p "$pg_port" -U postgres -d postgres \
    -c "CREATE ROLE zuvexal LOGIN PASSWORD '$pg_password'" -c "CREATE DATABASE zuvexal OWNER zuvexal" \
    >/dev/null 2>"$pg/setup.log" || failed "creating the PostgreSQL role failed" "$pg/setup.log"
}

mariadb_up() { mariadb-admin --no-defaults --socket="$run/my/mysqld.sock" -uroot ping >/dev/null 2>&1; }

start_mariadb() {
  local my=$run/my
  mkdir "$my"
  local user=()
  if [ "$(id -u)" -eq 0 ]; then
    chown mysql: "$my"
    user=(--user=mysql)
  fi
  mariadb-install-db --no-defaults "${user[@]}" --datadir="$my/data" --auth-root-authentication-method=normal \
    --skip-test-db >"$my/install.log" 2>&1 || failed "mariadb-install-db failed" "$my/install.log"
  for _ in 1 2 3; do
    my_port=$(free_port)
    rm -f "$my/error.log"
    setsid mariadbd --no-defaults "${user[@]}" --datadir="$my/data" --socket="$my/mysqld.sock" \
      --port="$my_port" --bind-address=127.0.0.1 --skip-name-resolve --pid-file="$my/mariadbd.pid" \
      --log-error="$my/error.log" --innodb-buffer-pool-size=32M --innodb-flush-log-at-trx-commit=0 \
      </dev/null >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 600); do
      mariadb_up && break
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    mariadb_up && break
    kill -KILL "$pid" 2>/dev/null || true
    my_port=
  done
  [ -n "$my_port" ] || failed "MariaDB did not start" "$my/error.log"
  my_socket=$my/mysqld.sock
  my_password=$(password)
  mariadb --no-defaults --socket="$my_socket" -uroot >/dev/null 2>"$my/setup.log" <<SQL || failed "creating the MariaDB user failed" "$my/setup.log"
CREATE DATABASE zuvexal CHARACTER SET utf8mb4;
CREATE USER 'zuvexal'@'%' IDENTIFIED BY '$my_password';
CREATE USER 'zuvexal'@'localhost' IDENTIFIED BY '$my_password';
GRANT ALL ON zuvexal.* TO 'zuvexal'@'%';
GRANT ALL ON zuvexal.* TO 'zuvexal'@'localhost';
SQL
}

write_odbc() {
  local odbc=$run/odbc driver ansi maodbc
  mkdir "$odbc"
  driver=$(ls /usr/lib/*/odbc/psqlodbcw.so 2>/dev/null | head -n 1)
  [ -n "$driver" ] || failed "psqlodbc (odbc-postgresql) is not installed" /dev/null
  ansi=$(ls /usr/lib/*/odbc/psqlodbca.so 2>/dev/null | head -n 1)
  [ -n "$ansi" ] || failed "psqlodbc's ANSI driver (odbc-postgresql) is not installed" /dev/null
  maodbc=$(ls /usr/lib/*/odbc/libmaodbc.so 2>/dev/null | head -n 1)
  [ -n "$maodbc" ] || failed "MariaDB Connector/ODBC (odbc-mariadb) is not installed" /dev/null
  (umask 077
   printf '[PostgreSQL Unicode]\nDriver=%s\n' "$driver" >"$odbc/odbcinst.ini"
   printf '[PostgreSQL ANSI]\nDriver=%s\n' "$ansi" >>"$odbc/odbcinst.ini"
   printf '[MariaDB Unicode]\nDriver=%s\n' "$maodbc" >>"$odbc/odbcinst.ini"
   printf '[zuvexal-pg]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort=%s\nDatabase=zuvexal\nUsername=zuvexal\nPassword=%s\n' \
     "$pg_port" "$pg_password" >"$odbc/odbc.ini")
}

load_fixture() {
  local dir=$1
  PGPASSWORD=$pg_password psql -X -q -v ON_ERROR_STOP=1 -h "$pg_socket" -p "$pg_port" -U zuvexal -d zuvexal \
    -f "$dir/postgresql.sql" >/dev/null 2>"$run/pg/fixture.log" \
    || failed "loading postgresql.sql failed" "$run/pg/fixture.log"
  MYSQL_PWD=$my_password mariadb --no-defaults --socket="$my_socket" -uzuvexal zuvexal \
    <"$dir/mariadb.sql" 2>"$run/my/fixture.log" || failed "loading mariadb.sql failed" "$run/my/fixture.log"
  rm -f "$state/fixture.db"
  sqlite3 "$state/fixture.db" <"$dir/sqlite.sql" 2>"$run/sqlite.log" || failed "loading sqlite.sql failed" "$run/sqlite.log"
}

start() {
  stop
  pg_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
  [ -x "$pg_bin/initdb" ] || failed "PostgreSQL (postgresql) is not installed" /dev/null
  command -v mariadbd >/dev/null || failed "MariaDB (mariadb-server) is not installed" /dev/null
  run=$(mktemp -d "${TMPDIR:-/tmp}/zuvexal-servers.XXXXXX")
  # The server accounts need to reach their folders inside.
  chmod 755 "$run"
  trap 'stop_run "$run" "$pg_bin"' EXIT
  trap 'exit 1' INT TERM
  start_postgresql
  start_mariadb
  write_odbc
  if [ -n "${1:-}" ]; then load_fixture "$1"; fi
  (umask 077 && cat >"$env_file" <<ENV
ZUVEXAL_SERVERS_RUN=$run
PG_BIN=$pg_bin
PG_HOST=127.0.0.1
PG_PORT=$pg_port
PG_SOCKET=$pg_socket
PG_USER=zuvexal
PG_PASSWORD=$pg_password
PG_DATABASE=zuvexal
MY_HOST=127.0.0.1
MY_PORT=$my_port
MY_SOCKET=$my_socket
MY_USER=zuvexal
MY_PASSWORD=$my_password
MY_DATABASE=zuvexal
ODBCSYSINI=$run/odbc
ODBCINI=$run/odbc/odbc.ini
ODBC_DSN=zuvexal-pg
ENV
  )
  trap - EXIT
}

case $action in
  start) start "${3:-}" ;;
  stop) stop ;;
  *) usage ;;
esac
