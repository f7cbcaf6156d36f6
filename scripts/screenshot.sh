#!/usr/bin/env bash
# Retakes docs/screenshot-main.png (and docs/screenshot-marks.png, the same
# window with two unsaved values): the editor on the demo database under a
# virtual display, driven through its own dialogs with xdotool. Needs the
# packages xvfb, xdotool and imagemagick; run after scripts/build.sh.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
output=${1:-$source_dir/docs/screenshot-main.png}
marks_output=$(dirname "$output")/screenshot-marks.png

if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi

# A fresh demo database and settings file, so the picture is always the same.
"$source_dir/scripts/build-demo-db.sh" "$build_dir" >/dev/null
"$source_dir/scripts/odbc-setup.sh" "$build_dir" >/dev/null
rm -f "$build_dir/src/MEK_TOLVA.cfg"

LANG=fr_FR.UTF-8 ODBCSYSINI=$build_dir/odbc-demo ODBCINI=$build_dir/odbc-demo/odbc.ini \
    "$build_dir/src/tolva" &
editor=$!
trap 'kill $editor 2>/dev/null || true' EXIT

sleep 3
xdotool key Return    # connection dialog: NOVRAX, OK
sleep 2
xdotool key Down Down Down Down Return    # picker: first monitor of the first workshop
sleep 2
window=$(xdotool search --name '^Editeur TOLVA$' | head -n 1)
import -window "$window" "$output"
echo "screenshot: $output"

# Two values typed and not saved: tinted, bold, counted in the third panel.
xdotool key 1 2 Return Right Right 4 Return
sleep 1
import -window "$window" "$marks_output"
echo "screenshot: $marks_output"
