#!/usr/bin/env bash
# Retakes docs/screenshot-main.png (the editor on the demo database),
# docs/screenshot-marks.png (the same window with two unsaved values) and
# docs/screenshot-picker-filter.png (the monitor picker searching "presse a")
# under a virtual display, driven through the program's own dialogs with
# xdotool. Needs the packages xvfb, xdotool and imagemagick; run after
# scripts/build.sh.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
output=${1:-$source_dir/docs/screenshot-main.png}
picker_output=${2:-$source_dir/docs/screenshot-picker-filter.png}
marks_output=$(dirname "$output")/screenshot-marks.png

if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi

# A fresh demo database and settings file, so the picture is always the same.
"$source_dir/scripts/build-demo-db.sh" "$build_dir" >/dev/null
"$source_dir/scripts/odbc-setup.sh" "$build_dir" >/dev/null
rm -f "$build_dir/src/MEK_TOLVA.cfg"
# Window sizes the user's own runs left must not change the pictures.
settings=$build_dir/screenshot-settings
rm -rf "$settings"

LANG=fr_FR.UTF-8 XDG_CONFIG_HOME=$settings ODBCSYSINI=$build_dir/odbc-demo ODBCINI=$build_dir/odbc-demo/odbc.ini \
    "$build_dir/src/tolva" &
editor=$!
trap 'kill $editor 2>/dev/null || true' EXIT

sleep 3
xdotool key Return    # connection dialog: NOVRAX, OK
sleep 2
# Picker: search, picture, clear the search; Down then takes the first monitor.
xdotool key ctrl+f
xdotool type --delay 80 'presse a'
sleep 1
picker=$(xdotool search --name '^Moniteurs Disponibles' | head -n 1)
import -window "$picker" "$picker_output"
echo "screenshot: $picker_output"
xdotool key Escape Down Return
sleep 2
window=$(xdotool search --name '^Editeur TOLVA$' | head -n 1)
import -window "$window" "$output"
echo "screenshot: $output"

# Two values typed and not saved: tinted, bold, counted in the third panel.
xdotool key 1 2 Return Right Right 4 Return
sleep 1
import -window "$window" "$marks_output"
echo "screenshot: $marks_output"
