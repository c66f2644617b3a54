#!/usr/bin/env bash
# Starts Talvex on a virtual X display once in each of its seven languages and saves a picture of
# the window for each: screenshots/<language>.png (or the folder given as the first argument).
# Each run gets a settings file of its own, so the user's settings are never read or changed.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${TALVEX_BUILD_DIR:-build}/bin/talvex
out=${1:-screenshots}
title="Plu download www.talvex.example.com"

[ -x "$program" ] || bash scripts/build.sh
mkdir -p "$out"

# Run inside the virtual display: starts the program, waits up to ten seconds for its window,
# saves it and ends the program. Arguments: program, picture, window title.
capture='
    "$1" &
    pid=$!
    id=""
    for _ in $(seq 100); do
        id=$(xwininfo -name "$3" 2>/dev/null | awk "/Window id:/ {print \$4}") || true
        [ -n "$id" ] && break
        sleep 0.1
    done
    if [ -z "$id" ]; then
        echo "The window did not appear" >&2
        kill "$pid" 2>/dev/null
        exit 1
    fi
    sleep 1 # let the window paint itself
    import -window "$id" "$2"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
'

for entry in en:1033 de:7 es:10 fr:12 it:16 zh-Hans:2052 zh-Hant:3076; do
    name=${entry%%:*}
    lcid=${entry##*:}
    config=$(mktemp -d)
    mkdir -p "$config/Talvex"
    printf '[[SET]]\nLanguage=%s\n' "$lcid" >"$config/Talvex/talvex.conf"
    # A second try when another virtual display took the same number at the same moment.
    for attempt in 1 2 3; do
        if env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" \
            xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$capture" capture "$program" "$out/$name.png" "$title"; then
            break
        fi
        [ "$attempt" -lt 3 ] || { rm -rf "$config"; exit 1; }
    done
    rm -rf "$config"
    echo "$out/$name.png"
done
