#!/usr/bin/env bash
# Starts Talvex on a virtual X display in each of its seven languages and saves a picture of the
# window in each layout: screenshots/<language>.png (counting) and <language>-pricing.png (or in the
# folder given as the first argument). Then a window 500 pixels wide, whose toolbar cannot hold every
# button: narrow.png, and narrow-menu.png with its overflow menu open. In each language also a failure
# message (<language>-failure.png: a .csv file that cannot be imported) and a question with Qt's own
# buttons (<language>-question.png: Import over a row that was typed and not exported).
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

# Clicks the left mouse button at x, y on the virtual display (XTest through ctypes).
click='
import ctypes, sys, time
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
xtst.XTestFakeMotionEvent(display, -1, int(sys.argv[1]), int(sys.argv[2]), 0)
x11.XFlush(display)
time.sleep(0.2)
for press in (1, 0):
    xtst.XTestFakeButtonEvent(display, 1, press, 0)
    x11.XFlush(display)
    time.sleep(0.1)
x11.XCloseDisplay(display)
'

# The narrow window: placed at the top left corner, then its overflow button (at the right end of
# the toolbar) is clicked and the screen around the window is saved with the open menu.
narrow='
    "$1" -geometry 500x560+0+0 &
    pid=$!
    id=""
    for _ in $(seq 100); do
        id=$(xwininfo -name "$3" 2>/dev/null | awk "/Window id:/ {print \$4}") || true
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { kill "$pid" 2>/dev/null; exit 1; }
    sleep 1
    import -window "$id" "$2/narrow.png"
    python3 -c "$4" 488 40
    sleep 0.7
    import -window root -crop 760x560+0+0 "$2/narrow-menu.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
'

# Mouse clicks and key presses on the virtual display (XTest through ctypes): "click X Y", "key KEYSYM".
input='
import ctypes, sys, time
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
display = ctypes.c_void_p(x11.XOpenDisplay(None))
args = sys.argv[1:]
while args:
    action = args.pop(0)
    if action == "click":
        x, y = int(args.pop(0)), int(args.pop(0))
        xtst.XTestFakeMotionEvent(display, -1, x, y, 0)
        x11.XFlush(display)
        time.sleep(0.2)
        for press in (1, 0):
            xtst.XTestFakeButtonEvent(display, 1, press, 0)
            x11.XFlush(display)
            time.sleep(0.1)
    elif action == "key":
        code = x11.XKeysymToKeycode(display, x11.XStringToKeysym(args.pop(0).encode()))
        for press in (1, 0):
            xtst.XTestFakeKeyEvent(display, code, press, 0)
            x11.XFlush(display)
            time.sleep(0.1)
    time.sleep(0.2)
x11.XCloseDisplay(display)
'

# A failure message and a question, over a window at the top left corner: the file given cannot be
# imported, and Import asks before it replaces a typed row. Arguments: program, picture name without
# ".png", window title, file, input script.
dialogs='
    "$1" -geometry 880x560+0+0 "$4" &
    pid=$!
    id=""
    for _ in $(seq 100); do
        id=$(xwininfo -name "$3" 2>/dev/null | awk "/Window id:/ {print \$4}") || true
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { kill "$pid" 2>/dev/null; exit 1; }
    sleep 1.5
    import -window root -crop 880x560+0+0 "$2-failure.png"
    # OK closes the message, a row is typed (PLU No. and value of the first row), then Import asks.
    python3 -c "$5" key Return
    sleep 0.5
    python3 -c "$5" click 80 120 key 5 key Return click 155 120 key 2 key Return
    sleep 0.5
    python3 -c "$5" click 30 30
    sleep 1
    import -window root -crop 880x560+0+0 "$2-question.png"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
'

# Runs a script on a fresh virtual display with its own settings: language, table mode, script
# and its arguments. A second try when another virtual display took the same number at the same moment.
run_with_settings() {
    local lcid=$1 mode=$2 script=$3
    shift 3
    local config
    config=$(mktemp -d)
    mkdir -p "$config/Talvex"
    printf '[[SET]]\nLanguage=%s\nPLUMODE=%s\n' "$lcid" "$mode" >"$config/Talvex/talvex.conf"
    for attempt in 1 2 3; do
        if env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$config" \
            xvfb-run -a -s "-screen 0 1280x800x24" bash -c "$script" run "$@"; then
            break
        fi
        [ "$attempt" -lt 3 ] || { rm -rf "$config"; exit 1; }
    done
    rm -rf "$config"
}

unimportable=$(mktemp -d)
printf 'PLU No.,Unit price\n1,"2.5\n' >"$unimportable/table.csv"
for entry in en:1033 de:7 es:10 fr:12 it:16 zh-Hans:2052 zh-Hant:3076; do
    name=${entry%%:*}
    lcid=${entry##*:}
    run_with_settings "$lcid" 1 "$capture" "$program" "$out/$name.png" "$title"
    echo "$out/$name.png"
    run_with_settings "$lcid" 0 "$capture" "$program" "$out/$name-pricing.png" "$title"
    echo "$out/$name-pricing.png"
    run_with_settings "$lcid" 0 "$dialogs" "$program" "$out/$name" "$title" "$unimportable/table.csv" "$input"
    echo "$out/$name-failure.png"
    echo "$out/$name-question.png"
done
rm -rf "$unimportable"

run_with_settings 1033 0 "$narrow" "$program" "$out" "$title" "$click"
echo "$out/narrow.png"
echo "$out/narrow-menu.png"
