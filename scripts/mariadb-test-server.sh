#!/usr/bin/env bash
# A throwaway MariaDB server for the test suite.
#
#   mariadb-test-server.sh start <build-dir>   mariadb-install-db + mariadbd on 127.0.0.1
#                                              and a free port, create the test user and
#                                              database, add the data source
#                                              "TOLVA_TEST_MARIADB" to <build-dir>/odbc/odbc.ini
#   mariadb-test-server.sh stop <build-dir>    stop the server, delete its files and the
#                                              data source; safe to run at any time
#
# The tests load their own data. The server skips disk flushes (nothing in it
# outlives the run). As root the server runs as the "mysql" system user.
set -euo pipefail

MARIADB_BIN=${MARIADB_BIN:-/usr/bin}
MARIADB_SBIN=${MARIADB_SBIN:-/usr/sbin}
DSN_NAME=TOLVA_TEST_MARIADB
DB_NAME=tolva_test
DB_USER=tolva
DB_PASSWORD=tolva-test

if [[ $(id -u) -eq 0 ]]; then
    owner=mysql
else
    owner=$(id -un)
fi

source "$(dirname "${BASH_SOURCE[0]}")/test-server-common.sh"
read_server_arguments mariadb-test "$@"

# The server's own process id, from its pid file, only while it is still mariadbd.
server_pid() {
    local pid
    pid=$(cat "$1" 2>/dev/null || true)
    if [[ $pid =~ ^[0-9]+$ && $(cat "/proc/$pid/comm" 2>/dev/null) == mariadbd ]]; then
        echo "$pid"
    fi
}

stop_server() {
    if [[ -f $state_file ]]; then
        # shellcheck disable=SC1090
        source "$state_file"
        local pid
        pid=$(server_pid "${MY_ROOT:-/nonexistent}/mariadbd.pid")
        if [[ -n $pid ]]; then
            as_owner "$MARIADB_BIN/mariadb-admin" --no-defaults -S "$MY_ROOT/mariadbd.sock" \
                -u "$owner" shutdown >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true
            local waited
            for waited in $(seq 1 60); do
                [[ -n $(server_pid "$MY_ROOT/mariadbd.pid") ]] || break
                sleep 0.5
            done
            pid=$(server_pid "$MY_ROOT/mariadbd.pid")
            if [[ -n $pid ]]; then
                log "the server did not stop; killing mariadbd $pid"
                kill -9 "$pid" 2>/dev/null || true
            fi
        fi
        if [[ -n ${MY_ROOT:-} && -d $MY_ROOT ]]; then
            rm -rf -- "$MY_ROOT"
        fi
        rm -f "$state_file"
    fi
    remove_ini_section "$odbc_ini" "$DSN_NAME"
}

start_server() {
    if [[ ! -x $MARIADB_SBIN/mariadbd || ! -x $MARIADB_BIN/mariadb-install-db ]]; then
        log "MariaDB server binaries not found in $MARIADB_SBIN (package mariadb-server)"
        exit 3
    fi
    if [[ $(id -u) -eq 0 ]] && ! id mysql >/dev/null 2>&1; then
        log "running as root but there is no 'mysql' system user to own the server"
        exit 3
    fi
    stop_server
    mkdir -p "$state_dir"

    # Under the build folder when the owner can reach it, else in /tmp. The
    # socket path must stay short (about 100 bytes at most).
    local root
    root=$(mktemp -d "$state_dir/server.XXXXXX")
    if [[ $(id -u) -eq 0 ]]; then
        chown "$owner": "$root"
        if ! runuser -u "$owner" -- test -w "$root" || ((${#root} > 80)); then
            rm -rf -- "$root"
            root=$(mktemp -d /tmp/tolva-my-test.XXXXXX)
            chown "$owner": "$root"
        fi
    elif ((${#root} > 80)); then
        rm -rf -- "$root"
        root=$(mktemp -d /tmp/tolva-my-test.XXXXXX)
    fi
    chmod 700 "$root"
    local data=$root/data socket=$root/mariadbd.sock
    printf 'MY_ROOT=%q\n' "$root" >"$state_file"

    if ! as_owner "$MARIADB_BIN/mariadb-install-db" --no-defaults --datadir="$data" \
        --user="$owner" --auth-root-authentication-method=socket --skip-test-db \
        --skip-name-resolve >"$root/install.log" 2>&1; then
        cat "$root/install.log" >&2
        log "mariadb-install-db failed"
        exit 1
    fi

    local port started=0 attempt pid waited
    for attempt in 1 2 3 4 5 6 7 8; do
        port=$((20000 + RANDOM % 40000))
        port_in_use "$port" && continue
        as_owner "$MARIADB_SBIN/mariadbd" --no-defaults --datadir="$data" \
            --bind-address=127.0.0.1 --port="$port" --socket="$socket" \
            --pid-file="$root/mariadbd.pid" --log-error="$root/server.log" \
            --skip-name-resolve --skip-log-bin --character-set-server=utf8mb4 \
            --collation-server=utf8mb4_general_ci --default-storage-engine=InnoDB \
            --innodb-flush-log-at-trx-commit=0 --innodb-doublewrite=0 --sync-frm=0 \
            --innodb-buffer-pool-size=32M --innodb-log-file-size=16M \
            --performance-schema=0 </dev/null >/dev/null 2>&1 &
        pid=$!
        for waited in $(seq 1 120); do
            if as_owner "$MARIADB_BIN/mariadb-admin" --no-defaults -S "$socket" -u "$owner" \
                ping >/dev/null 2>&1; then
                started=1
                break
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.5
        done
        [[ $started -eq 1 ]] && break
        log "start on port $port failed (attempt $attempt)"
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    if [[ $started -ne 1 ]]; then
        cat "$root/server.log" >&2 || true
        log "the server did not start"
        exit 1
    fi
    printf 'MY_PORT=%q\n' "$port" >>"$state_file"

    # Rights on its own database only: tests take some away and expect them to hold.
    as_owner "$MARIADB_BIN/mariadb" --no-defaults -S "$socket" -u "$owner" >/dev/null <<SQL
CREATE DATABASE $DB_NAME CHARACTER SET utf8mb4;
CREATE USER '$DB_USER'@'127.0.0.1' IDENTIFIED BY '$DB_PASSWORD';
GRANT ALL PRIVILEGES ON $DB_NAME.* TO '$DB_USER'@'127.0.0.1';
SQL

    mkdir -p "$(dirname "$odbc_ini")"
    remove_ini_section "$odbc_ini" "$DSN_NAME"
    if [[ -s $odbc_ini ]]; then
        echo >>"$odbc_ini"
    fi
    cat >>"$odbc_ini" <<INI
[$DSN_NAME]
Description=Editeur TOLVA test database (throwaway MariaDB server)
Driver=MariaDB Unicode
Server=127.0.0.1
Port=$port
Database=$DB_NAME
Username=$DB_USER
Password=$DB_PASSWORD
CHARSET=utf8mb4
INI
    log "MariaDB running on 127.0.0.1:$port (database $DB_NAME, data source $DSN_NAME)"
}

case $action in
start) start_server ;;
stop) stop_server ;;
*) usage ;;
esac
