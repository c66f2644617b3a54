#!/usr/bin/env bash
# The manual pages describe every command and every option the programs accept: each command that
# "talvex --help" lists has a section of its own in talvex(1), and each option that a command's --help lists
# is in that section (talvex-scale's in the OPTIONS section of talvex-scale(1)).
# Usage: manual_pages_test.sh TALVEX TALVEX_SCALE PAGES_DIR
set -euo pipefail
talvex=$1
scale=$2
pages=$3
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$config
failures=0

# The long options of one section of a manual page: from its ".SS TITLE" or ".SH TITLE" line to the next
# section.
section_options() {
    local page=$1 title=$2
    awk -v title="$title" '
        /^\.S[HS] / { inside = ($0 == ".SS " title || $0 == ".SH " title); next }
        inside' "$page" | grep -oE -- '\\-\\-[a-z][a-z0-9\\-]*' | tr -d '\\' | sort -u
}

# The long options a program's --help lists, without Qt's --help-all.
help_options() {
    "$@" --help | grep -oE -- '^ +(-[a-zA-Z], )?--[a-z][a-z0-9-]*' | grep -oE -- '--[a-z0-9-]+' |
        grep -vx -- '--help-all' | sort -u
}

check_section() {
    local page=$1 title=$2
    shift 2
    local missing
    missing=$(comm -23 <(help_options "$@") <(section_options "$pages/$page" "$title"))
    if [ -n "$missing" ]; then
        echo "FAIL: $page, section $title, does not describe: $(echo "$missing" | paste -sd ' ')"
        failures=$((failures + 1))
    fi
}

commands=$("$talvex" --help | grep -oE '^ *(Usage:)? +talvex [a-z]+' | awk '{print $NF}' | sort -u)
[ -n "$commands" ] || { echo "FAIL: talvex --help lists no command"; exit 1; }
for command in $commands; do
    if ! grep -qx ".SS $command" "$pages/talvex.1"; then
        echo "FAIL: talvex.1 has no section for the command $command"
        failures=$((failures + 1))
        continue
    fi
    check_section talvex.1 "$command" "$talvex" "$command"
done
check_section talvex-scale.1 OPTIONS "$scale"

echo "$failures failed"
[ "$failures" -eq 0 ]
