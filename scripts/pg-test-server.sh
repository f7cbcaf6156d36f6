#!/usr/bin/env bash
# A throwaway PostgreSQL server for the test suite.
#
#   pg-test-server.sh start <build-dir>   initdb + pg_ctl start on 127.0.0.1 and a free
#                                         port, create the test user and database, add
#                                         the data source "TOLVA_TEST_PG" to
#                                         <build-dir>/odbc/odbc.ini
#   pg-test-server.sh stop <build-dir>    stop the server, delete its files and the
#                                         data source; safe to run at any time
#
# The tests load their own data (the fixture resets the database), so nothing else
# is loaded here. The server skips disk flushes unless TOLVA_PG_DURABLE=1 (the
# benchmark sets it, to time writes as a real server makes them). initdb refuses to run as root: as root the server runs as the
# "postgres" system user.
set -euo pipefail

PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
DSN_NAME=TOLVA_TEST_PG
DB_NAME=tolva_test
DB_USER=tolva
DB_PASSWORD=tolva-test

owner=postgres
source "$(dirname "${BASH_SOURCE[0]}")/test-server-common.sh"
read_server_arguments pg-test "$@"

stop_server() {
    if [[ -f $state_file ]]; then
        # shellcheck disable=SC1090
        source "$state_file"
        if [[ -n ${PG_DATA:-} && -f $PG_DATA/postmaster.pid ]]; then
            if ! as_owner "$PG_BIN/pg_ctl" -D "$PG_DATA" -m fast -w -t 30 stop >/dev/null 2>&1; then
                # The server we started did not stop: end it by its own process id.
                local pid
                pid=$(head -n 1 "$PG_DATA/postmaster.pid" 2>/dev/null || true)
                if [[ $pid =~ ^[0-9]+$ && $(cat "/proc/$pid/comm" 2>/dev/null) == postgres ]]; then
                    log "pg_ctl stop failed; killing postmaster $pid"
                    kill -9 "$pid" 2>/dev/null || true
                fi
            fi
        fi
        if [[ -n ${PG_ROOT:-} && -d $PG_ROOT ]]; then
            rm -rf -- "$PG_ROOT"
        fi
        rm -f "$state_file"
    fi
    remove_ini_section "$odbc_ini" "$DSN_NAME"
}

start_server() {
    if [[ ! -x $PG_BIN/initdb || ! -x $PG_BIN/pg_ctl ]]; then
        log "PostgreSQL server binaries not found in $PG_BIN (package postgresql)"
        exit 3
    fi
    if [[ $(id -u) -eq 0 ]] && ! id postgres >/dev/null 2>&1; then
        log "running as root but there is no 'postgres' system user to own the server"
        exit 3
    fi
    stop_server  # a server left over from an earlier run
    mkdir -p "$state_dir"

    # The server's folder lies under the build folder when its owner can reach it,
    # otherwise in the system's temporary folder.
    local root
    root=$(mktemp -d "$state_dir/server.XXXXXX")
    if [[ $(id -u) -eq 0 ]]; then
        chown postgres: "$root"
        if ! runuser -u postgres -- test -w "$root"; then
            rm -rf -- "$root"
            root=$(mktemp -d /tmp/tolva-pg-test.XXXXXX)
            chown postgres: "$root"
        fi
    fi
    chmod 700 "$root"
    local data=$root/data socket_dir=$root pwfile=$root/pwfile
    # Recorded at once, so that stop cleans up even after a failed start.
    printf 'PG_ROOT=%q\nPG_DATA=%q\n' "$root" "$data" >"$state_file"

    echo "$DB_PASSWORD" >"$pwfile"
    [[ $(id -u) -ne 0 ]] || chown postgres: "$pwfile"
    if ! as_owner "$PG_BIN/initdb" -D "$data" -U postgres --encoding=UTF8 --locale=C \
        --auth-local=trust --auth-host=scram-sha-256 --pwfile="$pwfile" >"$root/initdb.log" 2>&1; then
        cat "$root/initdb.log" >&2
        log "initdb failed"
        exit 1
    fi

    local durability="-c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    [[ ${TOLVA_PG_DURABLE:-0} != 1 ]] || durability=
    local port started=0 attempt
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 40000))
        port_in_use "$port" && continue
        if as_owner "$PG_BIN/pg_ctl" -D "$data" -l "$root/server.log" -w -t 60 \
            -o "-c listen_addresses=127.0.0.1 -p $port -k $socket_dir $durability" \
            start >/dev/null; then
            started=1
            break
        fi
        log "start on port $port failed (attempt $attempt)"
    done
    if [[ $started -ne 1 ]]; then
        cat "$root/server.log" >&2 || true
        log "the server did not start"
        exit 1
    fi
    printf 'PG_PORT=%q\n' "$port" >>"$state_file"

    # Not a superuser: tests take privileges away from it and expect them to hold.
    as_owner "$PG_BIN/psql" -X -q -v ON_ERROR_STOP=1 -h "$socket_dir" -p "$port" -U postgres \
        -d postgres >/dev/null <<SQL
CREATE ROLE $DB_USER LOGIN PASSWORD '$DB_PASSWORD';
CREATE DATABASE $DB_NAME OWNER $DB_USER ENCODING 'UTF8' TEMPLATE template0;
SQL

    mkdir -p "$(dirname "$odbc_ini")"
    remove_ini_section "$odbc_ini" "$DSN_NAME"
    if [[ -s $odbc_ini ]]; then
        echo >>"$odbc_ini"
    fi
    cat >>"$odbc_ini" <<INI
[$DSN_NAME]
Description=Editeur TOLVA test database (throwaway PostgreSQL server)
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$port
Database=$DB_NAME
Username=$DB_USER
Password=$DB_PASSWORD
ReadOnly=No
INI
    log "PostgreSQL running on 127.0.0.1:$port (database $DB_NAME, data source $DSN_NAME)"
}

case $action in
start) start_server ;;
stop) stop_server ;;
*) usage ;;
esac
