#!/usr/bin/env bash
# The frame settings editor in a real X session (run_under_x.sh): the program
# refuses a wrong argument; "--frame-settings" brings up the main window and
# the frame settings window, which loads Frame/frame001.ini of the program
# folder; then, in the probe (the same start, able to report what it shows),
# "上書き保存" of the file as loaded writes it back byte for byte (the main
# window's first relayout under the window manager must not have reset what
# was loaded), "文字列設定" opens the text placement window, the title is
# clicked and dragged with real pointer events, and the title's place fields
# must hold the new place in pixels and millimetres.
# Usage (under run_under_x.sh): frame_settings_drag_test.sh PLOVIS PROBE
set -euo pipefail
plovis="$1"
probe="$2"

fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in xdotool iconv; do
    command -v "$tool" > /dev/null || fail "$tool is not installed (scripts/install-packages.sh)"
done

work="$(mktemp -d)"
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2> /dev/null || true
        wait "$pid" 2> /dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Polls a command every tenth of a second for at most $1 seconds.
wait_for() {
    local seconds="$1"
    shift
    local tries=$((seconds * 10))
    until "$@" > /dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# --- A wrong argument is refused with the usage line and status 2.
set +e
"$plovis" --frame > "$work/out" 2> "$work/err"
status=$?
set -e
[ "$status" -eq 2 ] || fail "a wrong argument gave status $status"
grep -q "usage: plovis \[--frame-settings\]" "$work/err" || fail "no usage line on standard error"

# --- A program folder with a frame settings file, for the program and the probe.
app="$work/app"
mkdir -p "$app/Frame" "$work/ask"
cp "$plovis" "$probe" "$app/"
printf 'BM' > "$app/Frame/frame001.bmp"
# Every key the writers write, with fonts, colours, character sets, angles,
# flags, alignment and line spacing that no built-in layout has. The date
# stands above the title: its image (a blank area 641 pixels wide, selected
# last by the load) would otherwise lie over the title that is clicked.
iconv -f UTF-8 -t CP932 > "$app/Frame/frame001.ini" << 'INI'
[Frame]
PhotoFile=frame001.bmp
Framewidth=1500
Frameheight=1051
Photowidth=1430
Photoheight=887
Leftwidth=35
Rightwidth=35
Topheight=35
Bottomheight=129
FontPositionX=750
FontPositionY=940
DatePositionX=1255
DatePositionY=600
OtherPositionX=200
OtherPositionY=950
ReferencePosition=3
[Title]
Charset=1
Name=ＭＳ 明朝
Size=40
Style=BU
Color=255
Text=卒業記念\n２０２６
Vrt=1
Angle=-5
[Date]
Charset=1
Name=ＭＳ 明朝
Size=24
Style=I
Color=32768
Text=2026.03.15
Vrt=1
Angle=10
[Other]
Charset=1
Name=ＭＳ ゴシック
Size=20
Style=S
Color=16711680
Text=３年Ｂ組
Angle=-30
[Config]
Bar5=25
INI
cp "$app/Frame/frame001.ini" "$work/frame001.ini.written"

# --- The program itself: both windows come up.
"$app/plovis" --frame-settings > "$work/plovis.log" 2>&1 &
plovis_pid=$!
pids+=($plovis_pid)
wait_for 30 xdotool search --onlyvisible --name "^Plovis$" || fail "no main window"
wait_for 30 xdotool search --onlyvisible --name "^フレーム設定$" || fail "no frame settings window"
kill "$plovis_pid"
wait "$plovis_pid" 2> /dev/null || true

# --- The probe: open the text placement window and drag the title.
"$app/frame_editor_probe" "$work/ask" > "$work/probe.log" 2>&1 &
pids+=($!)
answer="$work/ask/answer"
ask() {
    rm -f "$answer"
    touch "$work/ask/request"
    wait_for 20 test -f "$answer" || fail "the probe does not answer"
}
item() { awk -v kind="$1" -v name="$2" '$1 == kind && $2 == name { $1 = ""; $2 = ""; sub(/^  /, ""); print }' "$answer"; }
centre() { item rect "$1" | awk '{ print $1 + int($3 / 2), $2 + int($4 / 2) }'; }

wait_for 30 xdotool search --onlyvisible --name "^フレーム設定$" || fail "the probe shows no frame settings window"
ask
[ "$(item field Edit21)" = 750 ] && [ "$(item field Edit23)" = 940 ] || fail "frame001.ini was not loaded"
# The window manager may still be placing the window when it first shows:
# a control is clicked once its place has held still for a moment, and again
# if the click found nothing (it landed before the window settled).
settled() {
    ask
    local before
    before="$(item rect "$1")"
    sleep 0.3
    ask
    [ -n "$before" ] && [ "$(item rect "$1")" = "$before" ]
}
click_until() {
    local name="$1" done_when="$2"
    for _ in 1 2 3; do
        wait_for 20 settled "$name" || fail "$name does not hold still"
        read -r x y <<< "$(centre "$name")"
        xdotool mousemove "$x" "$y" click 1
        wait_for 15 "$done_when" && return 0
    done
    return 1
}

# --- Saved over itself unchanged, the file is the one written by hand, byte
# for byte: nothing the window manager's first relayout of the main window
# does may reach what the editor loaded.
box_shown() { ask; grep -qx 'box 上書き保存しました。' "$answer"; }
box_gone() { ask; ! grep -q '^box ' "$answer"; }
click_until BitBtn1 box_shown || fail "上書き保存 showed no 上書き保存しました。"
click_until BoxButton box_gone || fail "the message box does not close"
cmp "$work/frame001.ini.written" "$app/Frame/frame001.ini" ||
    fail "上書き保存 of the loaded file changed it: $(diff <(iconv -f CP932 -t UTF-8 "$work/frame001.ini.written") \
        <(iconv -f CP932 -t UTF-8 "$app/Frame/frame001.ini") | tr '\n' ' ')"

form4_shown() { ask; [ "$(item visible Form4)" = 1 ]; }
click_until BitBtn6 form4_shown || fail "文字列設定 did not open the text placement window"
wait_for 30 xdotool search --onlyvisible --name "^文字列設定$" || fail "the text placement window is not on screen"

selected() { ask; [ "$(item selected Image3)" = 1 ]; }
click_until Image3 selected || fail "a click did not select the title"
ask
read -r left0 top0 _ _ <<< "$(item rect Image3)"
read -r x y <<< "$(centre Image3)"
xdotool mousemove "$x" "$y"
xdotool mousedown 1
for _ in 1 2 3 4 5 6; do
    xdotool mousemove_relative -- 10 -5
done
xdotool mouseup 1
moved() { ask; read -r l t _ _ <<< "$(item rect Image3)"; [ "$l" -eq $((left0 + 60)) ] && [ "$t" -eq $((top0 - 30)) ]; }
wait_for 20 moved || fail "the title did not follow the drag: $(item rect Image3), from $left0 $top0"
written() { ask; [ "$(item field Edit21)" != 750 ]; }
wait_for 20 written || fail "the drag wrote no place"

# The place is the image's top centre scaled by frame width / picture width.
ask
read -r hscroll vscroll <<< "$(item scroll ScrollBox1)"
read -r left top width _ <<< "$(item place Image3)"
read -r _ _ picture _ <<< "$(item rect Image1)"
frame="$(item field Edit2)"
dpi="$(item field Edit17)"
want_x=$(( frame * (hscroll + left + width / 2) / picture ))
want_y=$(( frame * (vscroll + top) / picture ))
got="$(item field Edit21) $(item field Edit23) $(item field Edit19) $(item field Edit20)"
want="$want_x $want_y $(( want_x * 254 / 10 / dpi )) $(( want_y * 254 / 10 / dpi ))"
[ "$got" = "$want" ] || fail "fields X px, Y px, X mm, Y mm: $got, expected $want"
echo "title dragged by (60, -30) on screen: fields $got"
