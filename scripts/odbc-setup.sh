#!/usr/bin/env bash
# Writes project-local ODBC configuration into <build-dir>/odbc:
#   odbcinst.ini  drivers "SQLite3" (libsqliteodbc), "PostgreSQL Unicode" (psqlODBC)
#                 and "MariaDB Unicode" (MariaDB Connector/ODBC)
#   odbc.ini      data sources "NOVRAX" (the demo database) and "TOLVA_TEST_SQLITE"
# Use it with ODBCSYSINI=<build-dir>/odbc and ODBCINI=<build-dir>/odbc/odbc.ini.
# <build-dir>/odbc-demo holds the same drivers with "NOVRAX" alone, for the run
# command, so that the editor's data-source list shows only the demo database.
# scripts/pg-test-server.sh and scripts/mariadb-test-server.sh add "TOLVA_TEST_PG"
# and "TOLVA_TEST_MARIADB" to odbc.ini while their servers run.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 <build-dir>" >&2
    exit 2
fi
mkdir -p "$1"
build_dir=$(cd "$1" && pwd)
odbc_dir=$build_dir/odbc

# Finds a driver library: first through the Debian package that ships it, then
# in the usual driver folders.
find_driver() {
    local package=$1 file=$2 path
    if command -v dpkg >/dev/null 2>&1; then
        path=$(dpkg -L "$package" 2>/dev/null | grep "/$file\$" | head -n 1 || true)
        if [[ -n $path && -e $path ]]; then
            echo "$path"
            return 0
        fi
    fi
    for path in /usr/lib/*/odbc/"$file" /usr/lib/odbc/"$file" /usr/lib64/"$file" \
        /usr/local/lib/"$file" /usr/lib/"$file"; do
        if [[ -e $path ]]; then
            echo "$path"
            return 0
        fi
    done
    return 1
}

sqlite_driver=$(find_driver libsqliteodbc libsqlite3odbc.so) || {
    echo "odbc-setup: the SQLite3 ODBC driver (libsqlite3odbc.so, package libsqliteodbc) is not installed" >&2
    exit 1
}
pg_driver=$(find_driver odbc-postgresql psqlodbcw.so) || pg_driver=
if [[ -z $pg_driver ]]; then
    echo "odbc-setup: WARNING: psqlodbcw.so (package odbc-postgresql) not found; no PostgreSQL driver defined" >&2
fi

maria_driver=$(find_driver odbc-mariadb libmaodbc.so) || maria_driver=
if [[ -z $maria_driver ]]; then
    echo "odbc-setup: WARNING: libmaodbc.so (package odbc-mariadb) not found; no MariaDB driver defined" >&2
fi

mkdir -p "$odbc_dir" "$build_dir/demo" "$build_dir/test-work"

{
    echo "[SQLite3]"
    echo "Description=SQLite3 ODBC driver"
    echo "Driver=$sqlite_driver"
    echo "UsageCount=1"
    if [[ -n $pg_driver ]]; then
        echo
        echo "[PostgreSQL Unicode]"
        echo "Description=PostgreSQL ODBC driver (Unicode)"
        echo "Driver=$pg_driver"
        echo "UsageCount=1"
    fi
    if [[ -n $maria_driver ]]; then
        echo
        echo "[MariaDB Unicode]"
        echo "Description=MariaDB Connector/ODBC"
        echo "Driver=$maria_driver"
        echo "UsageCount=1"
    fi
} >"$odbc_dir/odbcinst.ini"

# NoCreat=1: a wrong path fails instead of silently creating an empty database.
demo_source="[NOVRAX]
Description=NOVRAX demonstration database (SQLite)
Driver=SQLite3
Database=$build_dir/demo/novrax-demo.db
NoCreat=1
Timeout=5000"

mkdir -p "$build_dir/odbc-demo"
cp "$odbc_dir/odbcinst.ini" "$build_dir/odbc-demo/odbcinst.ini"
echo "$demo_source" >"$build_dir/odbc-demo/odbc.ini"

cat >"$odbc_dir/odbc.ini" <<INI
$demo_source

[TOLVA_TEST_SQLITE]
Description=Editeur TOLVA test database (SQLite, recreated by the tests)
Driver=SQLite3
Database=$build_dir/test-work/tolva-test.db
NoCreat=1
Timeout=5000
SyncPragma=OFF
INI

echo "odbc-setup: wrote $odbc_dir/odbcinst.ini, $odbc_dir/odbc.ini and $build_dir/odbc-demo"
