# Helpers shared by the throwaway test-server scripts (sourced, not run).
# The caller sets "owner": the system user its server runs as when root.

usage() {
    echo "usage: $0 start|stop <build-dir>" >&2
    exit 2
}

log() { echo "$(basename "$0" .sh): $*" >&2; }

# Reads "start|stop <build-dir>" and sets action, build_dir, and under it the
# server's state folder (named by $1), its state file and the odbc.ini to edit.
read_server_arguments() {
    local state_name=$1
    shift
    [[ $# -eq 2 ]] || usage
    action=$1
    mkdir -p "$2"
    build_dir=$(cd "$2" && pwd)
    state_dir=$build_dir/$state_name
    state_file=$state_dir/server.env
    odbc_ini=$build_dir/odbc/odbc.ini
}

# Runs a command as the server's owner.
as_owner() {
    if [[ $(id -u) -eq 0 ]]; then
        runuser -u "$owner" -- "$@"
    else
        "$@"
    fi
}

# Removes one [section] (and its keys) from an ini file.
remove_ini_section() {
    local file=$1 section=$2
    [[ -f $file ]] || return 0
    awk -v name="[$section]" '
        /^[ \t]*\[/ { skip = ($1 == name) }
        !skip { print }
    ' "$file" >"$file.tmp" && mv -f "$file.tmp" "$file"
}

port_in_use() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}
