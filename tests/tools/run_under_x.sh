#!/usr/bin/env bash
# Runs a program in a fresh X server (Xvfb, 1600 x 1000) under the openbox
# window manager, as on an operator's desktop, and ends both afterwards.
# Usage: run_under_x.sh PROGRAM [ARGS...]
set -euo pipefail
if [ "${PLOVIS_X_SESSION:-}" != 1 ]; then
    PLOVIS_X_SESSION=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
# The session has no message bus: an address that leads nowhere keeps Qt
# from trying to have one launched (which fails here, and leaks a buffer
# that the sanitizer run reports).
export DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/no-bus"
# Under AddressSanitizer: libxkbcommon-x11 copies key names with strndup from
# replies that have no terminating zero, which is sound but which strict
# string checks report.
if [ -n "${ASAN_OPTIONS:-}" ]; then
    export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; rm -rf "$runtime"' EXIT
# The window manager is up once it announces itself on the root window.
for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    kill -0 "$wm" 2>/dev/null || { echo "openbox did not start" >&2; exit 1; }
    sleep 0.05
done
xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"
QT_QPA_PLATFORM=xcb timeout 180 "$@"
