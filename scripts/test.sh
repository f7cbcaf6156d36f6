#!/usr/bin/env bash
# THE test command: builds, prepares the demo database and the ODBC data sources,
# starts throwaway PostgreSQL and MariaDB servers and runs the whole suite on
# SQLite, PostgreSQL and MariaDB, then runs each fuzz target for a bounded time
# when clang++ is there. Fails when ctest or the fuzzing fails. Ends with the
# fuzzing's line and then one line "tests: N passed, N failed, N skipped" (ctest's
# tests; one that skipped itself counts as skipped).
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
scripts=$source_dir/scripts
PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}
MARIADB_SBIN=${MARIADB_SBIN:-/usr/sbin}
MARIADB_BIN=${MARIADB_BIN:-/usr/bin}

"$scripts/build.sh"
"$scripts/build-demo-db.sh" "$build_dir"
"$scripts/odbc-setup.sh" "$build_dir"

skipped() {
    cat >&2 <<MSG
******************************************************************************
*  $1
*  The $2 tests are SKIPPED.
******************************************************************************
MSG
}

# The servers go away on every exit: success, failure or interruption.
trap '"$scripts/pg-test-server.sh" stop "$build_dir" || true
      "$scripts/mariadb-test-server.sh" stop "$build_dir" || true' EXIT
trap 'exit 130' INT TERM

excluded=()
if [[ -x $PG_BIN/initdb && -x $PG_BIN/pg_ctl ]]; then
    "$scripts/pg-test-server.sh" start "$build_dir"
else
    skipped "PostgreSQL server binaries not found in $PG_BIN (package postgresql)." PostgreSQL
    excluded+=(postgres)
fi
if [[ ! -x $MARIADB_SBIN/mariadbd || ! -x $MARIADB_BIN/mariadb-install-db ]]; then
    skipped "MariaDB server binaries not found in $MARIADB_SBIN (package mariadb-server)." MariaDB
    excluded+=(mariadb)
elif ! grep -q '^\[MariaDB Unicode\]' "$build_dir/odbc/odbcinst.ini"; then
    skipped "MariaDB ODBC driver libmaodbc.so not found (package odbc-mariadb)." MariaDB
    excluded+=(mariadb)
else
    "$scripts/mariadb-test-server.sh" start "$build_dir"
fi

ctest_args=(--test-dir "$build_dir" --output-on-failure --timeout 900)
if [[ ${#excluded[@]} -gt 0 ]]; then
    ctest_args+=(-LE "^($(IFS='|'; echo "${excluded[*]}"))\$")
fi

results=$build_dir/test-results.xml
rm -f "$results"
set +e
ctest "${ctest_args[@]}" --output-junit "$results"
status=$?
"$scripts/fuzz.sh" "$build_dir"
fuzz_status=$?
set -e
[[ $status -eq 0 ]] && status=$fuzz_status
# Stopped now, so that nothing they say comes after the summary.
"$scripts/pg-test-server.sh" stop "$build_dir" || true
"$scripts/mariadb-test-server.sh" stop "$build_dir" || true

# ctest's own count, from its report: a test it ran that passed, one it skipped
# (a skip of its own or a skipping test), any other is a failure (a "Not Run"
# for a missing program too).
count() {
    local n
    n=$(grep -c "$1" "$results" 2>/dev/null) || true
    echo "${n:-0}"
}
total=$(count '<testcase ')
passed=$(count '<testcase [^>]*status="run"')
skipped=$(count '<skipped')
failed=$((total - passed - skipped))
if [[ ! -s $results ]]; then
    echo "test.sh: ctest wrote no report ($results)" >&2
    [[ $status -eq 0 ]] && status=1
fi
echo "tests: $passed passed, $failed failed, $skipped skipped"
exit $status
