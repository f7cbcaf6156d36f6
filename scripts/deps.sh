#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need.
# As root: "apt-get update" once, then installs what is missing. Otherwise: prints
# the one apt-get line to run and fails when something is missing.
set -euo pipefail

packages=(
    # build
    cmake g++ make pkg-config
    qt6-base-dev qt6-svg-dev libqt6svg6 unixodbc-dev libgtest-dev googletest
    # run: Qt's ODBC driver, French Qt texts, ODBC drivers, fonts for rendering
    libqt6sql6-odbc qt6-translations-l10n unixodbc libsqliteodbc odbc-postgresql
    fonts-dejavu-core
    # demo database, throwaway test servers, headless runs
    sqlite3 postgresql mariadb-server odbc-mariadb xvfb xauth
    # the Debian package and its install check
    dpkg-dev desktop-file-utils appstream x11-utils
    # fuzzing (scripts/fuzz.sh)
    clang libfuzzer-14-dev
    # screenshots (scripts/screenshot.sh)
    xdotool imagemagick
)

if ! command -v dpkg-query >/dev/null 2>&1; then
    echo "deps: not a Debian system; install the equivalents of: ${packages[*]}" >&2
    exit 0
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

if [[ $(id -u) -ne 0 ]]; then
    echo "deps: missing packages: ${missing[*]}" >&2
    echo "deps: run this once as root, then try again:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi

echo "deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update </dev/null
apt-get install -y "${missing[@]}" </dev/null
