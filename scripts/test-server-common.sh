# Helpers shared by the throwaway test-server scripts (sourced, not run).
# The caller sets "owner": the system user its server runs as when root.

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
