#!/usr/bin/env bash
# Retakes docs/screenshot-main.png (the editor on the demo database),
# docs/screenshot-marks.png (the same window with two unsaved values) and
# docs/screenshot-picker-filter.png (the monitor picker searching "presse a")
# under French regional settings, and the same three with "-en" under English
# ones, on a virtual display, driven through the program's own dialogs with
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
# Window sizes the user's own runs left must not change the pictures.
settings=$build_dir/screenshot-settings

# One set of pictures under the given regional settings; suffix for the file names.
take() {
    local lang=$1 suffix=$2
    local main=${output%.png}$suffix.png picker=${picker_output%.png}$suffix.png
    local marks=${marks_output%.png}$suffix.png
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
    kill "$editor" 2>/dev/null || true
    wait "$editor" 2>/dev/null || true
}

editor=
trap '[[ -n $editor ]] && kill $editor 2>/dev/null || true' EXIT
take fr_FR.UTF-8 ""
take en_US.UTF-8 -en
