#!/usr/bin/env bash
# The program on a display of its own that goes away (its X server killed)
# while the main window is open, and again while a box is up: each time the
# program must end by itself, without a signal (a crash while exiting was a
# SIGSEGV). Run by scripts/window-tests.sh; every wait is bounded.
set -euo pipefail
program="$1"
work="$(mktemp -d)"
server=
client=
cleanup() {
    [ -n "$client" ] && kill -9 "$client" 2>/dev/null || true
    [ -n "$server" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"

# Starts a server and the program on it, waits for the main window; leaves
# the display in $display and the window in $window.
start() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 3> "$work/display" > /dev/null 2>&1 &
    server=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=":$(cat "$work/display")"
    DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime" "$program" > "$work/out" 2>&1 &
    client=$!
    window="$(DISPLAY="$display" timeout 30 xdotool search --sync --onlyvisible --name '^Plovis$' | head -1)"
}

# Kills the server; the program must end within a bounded time, not by a signal.
lose_display() {
    local what="$1"
    kill "$server"
    wait "$server" 2>/dev/null || true
    server=
    local status=0
    timeout 30 tail --pid="$client" -f /dev/null || { echo "$what: the program did not end"; exit 1; }
    wait "$client" || status=$?
    client=
    if [ "$status" -gt 128 ]; then
        echo "$what: the program ended by signal $((status - 128))"
        cat "$work/out"
        exit 1
    fi
    echo "$what: the program ended with status $status"
}

start
lose_display "main window"

start
# Enter in the photo field on a path that names nothing brings up a box.
DISPLAY="$display" xdotool windowfocus --sync "$window" mousemove --window "$window" 200 20 click 1 \
    type --delay 20 "$work/nothing"
DISPLAY="$display" xdotool key Return
DISPLAY="$display" timeout 30 bash -c 'until [ "$(xdotool search --onlyvisible --name "^Plovis$" | wc -l)" -ge 2 ]; do sleep 0.1; done' \
    || { echo "no box came"; exit 1; }
lose_display "a box up"
