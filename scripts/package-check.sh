#!/usr/bin/env bash
# Builds the Debian package from <build-dir>, installs it on this machine with
# apt-get, checks the installed menu entry and software-centre file, starts the
# installed program on a virtual display until its connection dialog shows, and
# removes the package again (on every exit).
#
#   package-check.sh <build-dir>
#
# Needs root (apt-get). Exits 77 (skipped) when not root, when the package is
# already installed (a real installation is left alone) or when a tool is missing.
set -euo pipefail

SKIP=77
if [[ $# -ne 1 ]]; then
    echo "usage: $0 <build-dir>" >&2
    exit 2
fi
build_dir=$(cd "$1" && pwd)
package=editeur-tolva
app_id=org.tolva.EditeurTolva

log() { echo "package-check: $*" >&2; }
skip() {
    log "SKIPPED: $*"
    exit $SKIP
}

[[ $(id -u) -eq 0 ]] || skip "installing a package needs root"
for tool in cpack apt-get dpkg-shlibdeps xvfb-run xwininfo desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || skip "$tool not found (scripts/deps.sh installs it)"
done
if [[ $(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true) == "install ok installed" ]]; then
    skip "$package is already installed on this machine"
fi

work=$(mktemp -d /tmp/tolva-package-check.XXXXXX)
installed=0
cleanup() {
    if [[ $installed -eq 1 ]]; then
        apt-get remove -y -o DPkg::Lock::Timeout=120 "$package" </dev/null >"$work/remove.log" 2>&1 ||
            { cat "$work/remove.log" >&2; log "removing $package failed"; }
    fi
    rm -rf -- "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

(cd "$build_dir" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
    { cat "$work/cpack.log" >&2; log "cpack failed"; exit 1; }
deb=$(ls "$work"/package/"$package"_*.deb)
log "built $(basename "$deb")"
dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ */package-check:   depends on /' >&2

export DEBIAN_FRONTEND=noninteractive
installed=1
if ! apt-get install -y -o DPkg::Lock::Timeout=120 "$deb" </dev/null >"$work/install.log" 2>&1; then
    cat "$work/install.log" >&2
    log "apt-get install failed"
    exit 1
fi

failures=0
check() {
    if "$@" >"$work/check.log" 2>&1; then
        log "ok: $*"
    else
        cat "$work/check.log" >&2
        log "FAILED: $*"
        failures=$((failures + 1))
    fi
}
check test -x /usr/bin/tolva
check desktop-file-validate "/usr/share/applications/$app_id.desktop"
check appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml"
check test -s "/usr/share/icons/hicolor/scalable/apps/$app_id.svg"

# The installed program, without the build folder and with a home of its own,
# up to its connection dialog ("Configuration"). No data source is defined.
home=$work/home
mkdir -p "$home"
cat >"$work/run.sh" <<'RUN'
/usr/bin/tolva >"$WORK/program.log" 2>&1 &
pid=$!
shown=1
for _ in $(seq 1 60); do
    if xwininfo -root -tree | grep -q '"Configuration"'; then
        shown=0
        break
    fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
exit $shown
RUN
if (cd "$work" && env -i PATH=/usr/bin:/bin HOME="$home" WORK="$work" LANG=C.UTF-8 \
    ODBCSYSINI="$home" ODBCINI="$home/.odbc.ini" xvfb-run -a bash "$work/run.sh"); then
    log "ok: the installed program shows its connection dialog"
else
    cat "$work/program.log" >&2 || true
    log "FAILED: the installed program did not show its connection dialog"
    failures=$((failures + 1))
fi

[[ $failures -eq 0 ]] || { log "$failures check(s) failed"; exit 1; }
log "all package checks passed"
