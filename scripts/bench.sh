#!/usr/bin/env bash
# Runs the option-store benchmark (bench/) on SQLite and on a throwaway
# PostgreSQL and MariaDB servers, each through ODBC, and prints its figures; the
# servers' runs are repeated through a loopback relay delaying 0, 0.5, 2 and 10 ms
# each way (tolva_bench --delays changes the list). Then
# the editor window's benchmark, on the offscreen display, times the pick of a
# monitor and a save until the grid is drawn, directly and at 0.5 ms.
#
#   scripts/bench.sh [tolva_bench options]    e.g. --monitors 10000
#
# Everything it creates lives in build/bench-run; the servers are stopped on exit.
# TOLVA_BUILD_DIR overrides the build folder (./build).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
work=$build_dir/bench-run
scripts=$source_dir/scripts
PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}

"$scripts/deps.sh"
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target tolva_bench tolva_bench_window -j "$(nproc 2>/dev/null || echo 2)"

"$scripts/odbc-setup.sh" "$work" >/dev/null
# The SQLite database with the driver's default durability (the test data source
# trades it for speed).
rm -f "$work/bench.db"
cat >>"$work/odbc/odbc.ini" <<INI

[TOLVA_BENCH_SQLITE]
Description=Editeur TOLVA benchmark database (SQLite)
Driver=SQLite3
Database=$work/bench.db
Timeout=5000
INI
targets=("DSN=TOLVA_BENCH_SQLITE;UID=;PWD=;")
window_targets=("${targets[@]}")  # the window's benchmark: SQLite and PostgreSQL

stop_servers() {
    "$scripts/pg-test-server.sh" stop "$work" || true
    "$scripts/mariadb-test-server.sh" stop "$work" || true
}
trap stop_servers EXIT
trap 'exit 130' INT TERM
ini_value() {
    awk -F= -v dsn="[$1]" -v key="$2" '$0 == dsn {s = 1; next} /^\[/ {s = 0}
        s && $1 == key {print substr($0, index($0, "=") + 1)}' "$work/odbc/odbc.ini"
}
if [[ -x $PG_BIN/initdb ]]; then
    TOLVA_PG_DURABLE=1 "$scripts/pg-test-server.sh" start "$work"
    # The port lets the benchmark put its delaying relay in front of the server.
    targets+=(--server-port "$(ini_value TOLVA_TEST_PG Port)"
        "DSN=TOLVA_TEST_PG;UID=$(ini_value TOLVA_TEST_PG Username);PWD=$(ini_value TOLVA_TEST_PG Password);")
    window_targets=("${targets[@]}")
else
    echo "bench: PostgreSQL server binaries not found in $PG_BIN; skipped" >&2
fi
if command -v mariadbd >/dev/null || [[ -x /usr/sbin/mariadbd ]]; then
    "$scripts/mariadb-test-server.sh" start "$work"
    targets+=(--mariadb-port "$(ini_value TOLVA_TEST_MARIADB Port)"
        "DSN=TOLVA_TEST_MARIADB;UID=$(ini_value TOLVA_TEST_MARIADB Username);PWD=$(ini_value TOLVA_TEST_MARIADB Password);")
else
    echo "bench: MariaDB server not found; skipped" >&2
fi

export ODBCSYSINI=$work/odbc ODBCINI=$work/odbc/odbc.ini
status=0
"$build_dir/bench/tolva_bench" "$@" "${targets[@]}" || status=$?
# Qt wants a private runtime folder even for the offscreen display.
mkdir -p -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen "$build_dir/bench/tolva_bench_window" "${window_targets[@]}" || status=$?
exit "$status"
