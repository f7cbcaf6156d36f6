#!/usr/bin/env bash
# THE run command: builds the editor and starts it on the bundled demo database
# (data source "NOVRAX"), with project-local ODBC configuration.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
scripts=$source_dir/scripts

# Said before the build, so nobody waits minutes to learn it.
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "run: no desktop display (neither DISPLAY nor WAYLAND_DISPLAY is set); to run the editor on a virtual display: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi

"$scripts/build.sh"
# The demo database keeps what was saved into it; it is rebuilt only when the
# demo script changed.
demo_db=$build_dir/demo/novrax-demo.db
if [[ ! -f $demo_db || $source_dir/demo/novrax-demo.sql -nt $demo_db ]]; then
    "$scripts/build-demo-db.sh" "$build_dir"
fi
"$scripts/odbc-setup.sh" "$build_dir"


export ODBCSYSINI=$build_dir/odbc-demo
export ODBCINI=$build_dir/odbc-demo/odbc.ini
exec "$build_dir/src/tolva"
