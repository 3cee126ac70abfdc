#!/usr/bin/env bash
# Runs the tests that need a real window system (the window manager's frame,
# the operator's moves and resizes, the stacking of modal windows) under Xvfb
# with openbox; then saves a picture of every window of the program into
# build/screenshots/ (panel_screens) for a look at them; then the real
# program through drop_demo: a batch over two photos, and again over the same
# folder, which asks before overwriting each; the screen with the first
# question is saved as build/screenshots/question_box.png; then the real
# program through frame_file_print_check: a hand-written frame file with a
# styled title, a date and a long other text loaded in the editor and printed
# by １枚実行, the print checked and saved beside the main window's picture.
# Then the program on a display of its own that goes away (lost_display_test).
# Expects a build in build/. Every wait is bounded: for the window manager
# here, for the frame and the window system's answers in the tests, and for
# each demo run, which must close all its boxes and end by itself.
set -euo pipefail
cd "$(dirname "$0")/.."
filter='*UnderAWindowManager*'
if [ "${1:-}" != inside ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" inside
fi
work="$(mktemp -d)"
ready="$work/ready"
openbox --startup "touch $ready" > /dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -e "$ready" ] && break
    sleep 0.1
done
[ -e "$ready" ] || { echo "openbox did not start"; exit 1; }
export QT_QPA_PLATFORM=xcb PLOVIS_WINDOW_MANAGER=1 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
build/platform_tests --gtest_filter="$filter" --gtest_brief=1
build/main_tests --gtest_filter="$filter" --gtest_brief=1
timeout 180 tests/tools/lost_display_test.sh build/plovis

mkdir -p "$work/photos" build/screenshots
shot=build/screenshots/question_box.png
rm -f build/screenshots/*.png
build/make_demo_photos "$work/photos" 2
timeout 120 build/panel_screens "$work/photos" build/screenshots || { echo "panel_screens failed"; exit 1; }
echo "panel_screens: every window is pictured in build/screenshots/"
timeout 120 build/drop_demo "$work/photos" 1 > /dev/null 2>&1 || { echo "drop_demo did not end"; exit 1; }
timeout 120 build/drop_demo "$work/photos" 1 "$shot" > /dev/null 2>&1 || { echo "drop_demo did not end"; exit 1; }
[ -s "$shot" ] || { echo "no question box was seen"; exit 1; }
echo "drop_demo: both runs ended; the question box is in $shot"
timeout 180 build/frame_file_print_check build/plovis "$work/photos" build/screenshots ||
    { echo "frame_file_print_check failed"; exit 1; }
echo "frame_file_print_check: the print is in build/screenshots/printed_photo1.png"
