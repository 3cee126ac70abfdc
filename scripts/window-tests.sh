#!/usr/bin/env bash
# Runs the tests that need a real window system (the window manager's frame,
# the operator's moves and resizes) under Xvfb with openbox. Expects a build
# in build/. Every wait is bounded: for the window manager here, for the
# frame and the window system's answers in the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
filter='*UnderAWindowManager*'
if [ "${1:-}" != inside ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" inside
fi
ready="$(mktemp -u)"
openbox --startup "touch $ready" > /dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null || true; rm -f "$ready"' EXIT
for _ in $(seq 100); do
    [ -e "$ready" ] && break
    sleep 0.1
done
[ -e "$ready" ] || { echo "openbox did not start"; exit 1; }
export QT_QPA_PLATFORM=xcb PLOVIS_WINDOW_MANAGER=1
build/platform_tests --gtest_filter="$filter" --gtest_brief=1
build/app_tests --gtest_filter="$filter" --gtest_brief=1
