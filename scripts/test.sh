#!/usr/bin/env bash
# THE test command: builds, prepares the demo database and the ODBC data sources,
# starts a throwaway PostgreSQL server and runs the whole suite on SQLite and on
# PostgreSQL, then runs each fuzz target for a bounded time when clang++ is there.
# Fails when ctest or the fuzzing fails.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
scripts=$source_dir/scripts
PG_BIN=${PG_BIN:-/usr/lib/postgresql/15/bin}

"$scripts/build.sh"
"$scripts/build-demo-db.sh" "$build_dir"
"$scripts/odbc-setup.sh" "$build_dir"

ctest_args=(--test-dir "$build_dir" --output-on-failure --timeout 900)
if [[ -x $PG_BIN/initdb && -x $PG_BIN/pg_ctl ]]; then
    # The server goes away on every exit: success, failure or interruption.
    trap '"$scripts/pg-test-server.sh" stop "$build_dir" || true' EXIT
    trap 'exit 130' INT TERM
    "$scripts/pg-test-server.sh" start "$build_dir"
else
    cat >&2 <<MSG
******************************************************************************
*  PostgreSQL server binaries not found in $PG_BIN
*  (Debian package "postgresql"). The PostgreSQL tests are SKIPPED; only the
*  SQLite backend is tested.
******************************************************************************
MSG
    ctest_args+=(-LE postgres)
fi

set +e
ctest "${ctest_args[@]}"
status=$?
"$scripts/fuzz.sh" "$build_dir"
fuzz_status=$?
set -e
[[ $status -eq 0 ]] && status=$fuzz_status
exit $status
