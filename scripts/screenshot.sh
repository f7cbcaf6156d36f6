#!/usr/bin/env bash
# Retakes docs/screenshot-main.png (the editor on the demo database),
# docs/screenshot-marks.png (the same window with two unsaved values),
# docs/screenshot-picker-filter.png (the monitor picker searching "presse a")
# and docs/screenshot-import.png (the preview of a CSV import: the monitor
# exported, its rows reversed, two limits changed, one cell blanked, the last
# row gone) under French regional settings, and the same four with "-en" under
# English ones, on a virtual display, driven through the program's own dialogs
# with xdotool. Needs the packages xvfb, xdotool and imagemagick; run after
# scripts/build.sh.
set -euo pipefail

source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${TOLVA_BUILD_DIR:-$source_dir/build}
output=${1:-$source_dir/docs/screenshot-main.png}
picker_output=${2:-$source_dir/docs/screenshot-picker-filter.png}
marks_output=$(dirname "$output")/screenshot-marks.png
import_output=$(dirname "$output")/screenshot-import.png

if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" "$0" "$@"
fi

# A fresh demo database and settings file, so the picture is always the same.
"$source_dir/scripts/build-demo-db.sh" "$build_dir" >/dev/null
"$source_dir/scripts/odbc-setup.sh" "$build_dir" >/dev/null
# Window sizes the user's own runs left must not change the pictures.
settings=$build_dir/screenshot-settings

# One set of pictures under the given regional settings; suffix for the file names.
take() {
    local lang=$1 suffix=$2
    local main=${output%.png}$suffix.png picker=${picker_output%.png}$suffix.png
    local marks=${marks_output%.png}$suffix.png
    local preview=${import_output%.png}$suffix.png csv=$build_dir/screenshot-import.csv
    rm -f "$build_dir/src/MEK_TOLVA.cfg"
    rm -rf "$settings"
    LANG=$lang XDG_CONFIG_HOME=$settings ODBCSYSINI=$build_dir/odbc-demo \
        ODBCINI=$build_dir/odbc-demo/odbc.ini "$build_dir/src/tolva" &
    editor=$!

    sleep 3
    xdotool key Return    # connection dialog: NOVRAX, OK
    sleep 2
    # Picker: search, picture, clear the search; Down then takes the first monitor.
    xdotool key ctrl+f
    xdotool type --delay 80 'presse a'
    sleep 1
    local picker_window window
    picker_window=$(xdotool search --name '^Moniteurs Disponibles' | head -n 1)
    import -window "$picker_window" "$picker"
    echo "screenshot: $picker"
    xdotool key Escape Down Return
    sleep 2
    window=$(xdotool search --name '^Editeur TOLVA$' | head -n 1)
    import -window "$window" "$main"
    echo "screenshot: $main"

    # Two values typed and not saved: tinted, bold, counted in the third panel.
    xdotool key 1 2 Return Right Right 4 Return
    sleep 1
    import -window "$window" "$marks"
    echo "screenshot: $marks"

    # Options › Exporter en CSV…, the file changed as a spreadsheet would, then
    # Options › Importer un CSV… up to its preview. The menu opens with a click
    # (Alt does not reach the menu bar without a window manager).
    rm -f "$csv"
    xdotool mousemove --window "$window" 32 8 click 1
    xdotool key c
    sleep 2
    xdotool key ctrl+a
    xdotool type --delay 20 "$csv"
    xdotool key Return
    sleep 2
    local sep=';'
    [[ $lang == en_* ]] && sep=','
    awk -v RS='\r\n' -F"$sep" -v OFS="$sep" '
        NR == 1 { print; next }
        NR <= 3 { $(NR + 1) = $(NR + 1) "5" }
        NR == 4 { $5 = "" }
        { rows[NR] = $0 }
        END { for (i = NR - 1; i >= 2; i--) print rows[i] }' "$csv" >"$csv.tmp"
    mv "$csv.tmp" "$csv"
    xdotool mousemove --window "$window" 32 8 click 1
    xdotool key i
    sleep 2
    xdotool key ctrl+a
    xdotool type --delay 20 "$csv"
    xdotool key Return
    sleep 2
    local preview_window
    preview_window=$(xdotool search --name '^Importer un CSV' | head -n 1)
    import -window "$preview_window" "$preview"
    echo "screenshot: $preview"
    xdotool key Escape
    kill "$editor" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
}

editor=
trap '[[ -n $editor ]] && kill $editor 2>/dev/null || true' EXIT
take fr_FR.UTF-8 ""
take en_US.UTF-8 -en
