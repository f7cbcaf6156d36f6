#!/usr/bin/env bash
# Runs the option-store benchmark (bench/) on SQLite and on a throwaway
# PostgreSQL server, each through ODBC, and prints its figures; the server's runs
# are repeated through a loopback relay delaying 0, 0.5 and 2 ms each way. Then
# the editor window's benchmark, on the offscreen display, times the pick of a
# monitor and a save until the grid is drawn, directly and at 0.5 ms; then the
# history window's, its opening on a journal of 100,000 rows.
#
#   scripts/bench.sh [tolva_bench options]    e.g. --monitors 10000
#
# Everything it creates lives in build/bench-run; the server is stopped on exit.
# TOLVA_BUILD_DIR overrides the build folder (./build).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
work=$build_dir/bench-run
scripts=$source_dir/scripts
PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}

"$scripts/deps.sh"
cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target tolva_bench tolva_bench_window tolva_bench_history -j "$(nproc 2>/dev/null || echo 2)"

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

if [[ -x $PG_BIN/initdb ]]; then
    trap '"$scripts/pg-test-server.sh" stop "$work" || true' EXIT
    trap 'exit 130' INT TERM
    TOLVA_PG_DURABLE=1 "$scripts/pg-test-server.sh" start "$work"
    ini_value() {
        awk -F= -v key="$1" '/^\[TOLVA_TEST_PG\]/ {s = 1; next} /^\[/ {s = 0}
            s && $1 == key {print substr($0, index($0, "=") + 1)}' "$work/odbc/odbc.ini"
    }
    # The port lets the benchmark put its delaying relay in front of the server.
    targets+=(--server-port "$(ini_value Port)"
        "DSN=TOLVA_TEST_PG;UID=$(ini_value Username);PWD=$(ini_value Password);")
else
    echo "bench: PostgreSQL server binaries not found in $PG_BIN; SQLite only" >&2
fi

export ODBCSYSINI=$work/odbc ODBCINI=$work/odbc/odbc.ini
status=0
"$build_dir/bench/tolva_bench" "$@" "${targets[@]}" || status=$?
# Qt wants a private runtime folder even for the offscreen display.
mkdir -p -m 700 "$work/runtime"
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen "$build_dir/bench/tolva_bench_window" "${targets[@]}" || status=$?
XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen "$build_dir/bench/tolva_bench_history" "${targets[@]}" || status=$?
exit "$status"
