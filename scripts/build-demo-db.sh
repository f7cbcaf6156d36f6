#!/usr/bin/env bash
# Builds <build-dir>/demo/novrax-demo.db from demo/novrax-demo.sql.
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 <build-dir>" >&2
    exit 2
fi
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
mkdir -p "$1/demo"
build_dir=$(cd "$1" && pwd)
script=$source_dir/demo/novrax-demo.sql
target=$build_dir/demo/novrax-demo.db

if ! command -v sqlite3 >/dev/null 2>&1; then
    echo "build-demo-db: the sqlite3 command is missing (package sqlite3)" >&2
    exit 1
fi

# Build aside and move into place, so a failed load never leaves half a database.
tmp=$(mktemp "$target.XXXXXX")
trap 'rm -f "$tmp"' EXIT
rm -f "$tmp"
sqlite3 -bail "$tmp" <"$script"
mv -f "$tmp" "$target"
trap - EXIT
echo "build-demo-db: $target"
