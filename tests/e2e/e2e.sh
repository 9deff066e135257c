#!/usr/bin/env bash
# End to end, as a pupil uses Torvikan: the installed program in a real X
# server (Xvfb), real mouse clicks (xdotool), screenshots (ImageMagick) and
# real sound through a PulseAudio null sink recorded with parec.
#
#   e2e.sh BUILD_DIR
#
# The program is installed into a scratch prefix and started from an empty
# home folder, so it must find its cues where it was installed.
set -uo pipefail

build=$(cd "$1" && pwd)
source "$(dirname "$0")/../sound_server.sh"
skip=77 # CTest's SKIP_RETURN_CODE for this test

for tool in Xvfb xdotool import convert pulseaudio parec pactl od awk; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh test installs it)"
        exit $skip
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    stop_sound_server
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

passed=0
failed=0
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        echo "ok   - $what"
    else
        failed=$((failed + 1))
        echo "FAIL - $what"
    fi
}

# --- install ---------------------------------------------------------------
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
program=$prefix/bin/torvikan
table=$prefix/bin/torvikan-table

# --- display and sound -----------------------------------------------------
start_sound_server "$work" || exit 1
unset QT_QPA_PLATFORM

exec 5<> >(:)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 display <&5 || { echo "FAIL: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$display

recording=$work/sound.raw
parec -d torvikan_null.monitor --format=s16le --rate=44100 --channels=1 --latency-msec=20 >"$recording" 2>"$work/parec.log" &
pids+=($!)
sleep 0.5
bytes() { stat -c %s "$recording"; }
# since FROM_BYTE: what was recorded from then on, after a moment to play.
since() {
    sleep 1.5
    tail -c +$(($1 + 1)) "$recording" >"$work/since.raw"
    echo "     peak $(peak_dbfs "$work/since.raw") dBFS, $(loud_samples "$work/since.raw") samples above -40 dBFS"
}
# heard FROM_BYTE: a cue was played since then; silent FROM_BYTE: nothing.
heard() { since "$1"; [ "$(loud_samples "$work/since.raw")" -ge 4410 ]; }
silent() { since "$1"; [ "$(peak_dbfs "$work/since.raw")" = silent ]; }

# --- the program -------------------------------------------------------------
cd "$HOME"
"$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)

window_named() { xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
main=$(timeout 20 bash -c "$(declare -f window_named); window_named '^ Torvikan$'")
[ -n "$main" ] || { echo "FAIL: the main window did not appear"; cat "$work/program.log"; exit 1; }
xdotool windowmove "$main" 0 0
sleep 0.5

# Client-area pixels of the main window's buttons, and of the field's
# interior: the window is at (0, 0) and has no frame without a window manager.
click_at() { xdotool mousemove "$1" "$2" click 1; }
next_step() { click_at 512 596; }
initialise() { click_at 652 12; }
help_button() { click_at 596 12; }
exit_button() { click_at 28 12; }
field_x=18
field_y=130
# chart metres to screen pixels, as the field maps them (645 × 389 for 120 × 70)
sx() { awk -v x="$1" -v o=$field_x 'BEGIN { v = x * 645 / 120; f = int(v); if (f > v) f--; print o + f }'; }
sy() { awk -v y="$1" -v o=$field_y 'BEGIN { v = y * 389 / 70; f = int(v); if (f > v) f--; print o + f }'; }

shot() { import -window root "$1"; }
colour_at() { convert "$1" -format "%[fx:int(255*p{$2,$3}.r)],%[fx:int(255*p{$2,$3}.g)],%[fx:int(255*p{$2,$3}.b)]" info:; }
is_colour() { # is_colour SHOT X Y R,G,B
    local got
    got=$(colour_at "$1" "$2" "$3")
    [ "$got" = "$4" ] || { echo "     pixel ($2, $3) is $got, not $4"; return 1; }
}
red=255,0,0
blue=0,0,255
white=255,255,255
black=0,0,0

# The start picture: the start marks just outside the field's corners.
start_picture() {
    is_colour "$1" "$(sx 9.5)" "$(sy 59.5)" $red && is_colour "$1" "$(sx 9.5)" "$(sy 9.5)" $blue \
        && is_colour "$1" "$(sx 10)" "$(sy 35)" $black && is_colour "$1" "$(sx 33.5)" "$(sy 59.5)" $white
}
shot "$work/start.png"
check "the window opens on the start picture" start_picture "$work/start.png"

# --- 78 clicks on 次へ: the catch ---------------------------------------------
for _ in $(seq 77); do next_step; done
check "no cue in the clicks before the dog reaches the mouse" silent 0
catch_from=$(bytes)
next_step
check "the catch cue is heard at click 78" heard "$catch_from"

# Where the core says the animals were: the table tool's read-outs
# (display metres) turned back into chart metres, for the middle of each
# 1 m mark, which lies left of and above its animal.
row() { "$table" --steps "$1" | awk -F '\t' -v n="$1" '$1 == n { print $2 + 9.5, 59.5 - $3, $4 + 9.5, 59.5 - $5 }'; }
shot "$work/catch.png"
read -r mx my dx dy < <(row 40)
check "red trail where the mouse was at click 40" is_colour "$work/catch.png" "$(sx "$mx")" "$(sy "$my")" $red
read -r mx my dx dy < <(row 30)
check "blue trail where the dog was at click 30" is_colour "$work/catch.png" "$(sx "$dx")" "$(sy "$dy")" $blue
read -r mx my dx dy < <(row 78)
check "the newest blue mark at the dog of click 78" is_colour "$work/catch.png" "$(sx "$dx")" "$(sy "$dy")" $blue
check "the grid still shows in the empty part of the field" is_colour "$work/catch.png" "$(sx 80)" "$(sy 35)" $black

# --- 初期化 ------------------------------------------------------------------
chime_from=$(bytes)
initialise
check "初期化 plays the chime" heard "$chime_from"
shot "$work/reset.png"
check "初期化 returns the start picture" start_picture "$work/reset.png"
check "初期化 removes the trail" is_colour "$work/reset.png" "$(sx 30.5)" "$(sy 59.5)" $white

# --- HELP and 閉じる -----------------------------------------------------------
# Each window opens where the other stood: the main window is at (0, 0).
next_step
help_from=$(bytes)
help_button
help=$(timeout 10 bash -c "$(declare -f window_named); window_named 'ヘルプ'")
check "HELP opens the help window" test -n "$help"
check "the main window is gone while help is open" bash -c "[ -z \"\$(xdotool search --onlyvisible --name '^ Torvikan\$' 2>/dev/null)\" ]"
check "HELP's chime is heard after the main window is gone" heard "$help_from"
position() { xdotool getwindowgeometry "$1" | awk '/Position/ { split($2, p, ","); print p[1] "," p[2] }'; }
if [ -n "$help" ]; then
    check "the help window's title is exactly its own" test "$(xdotool getwindowname "$help")" = " Torvikan＿ヘルプ（設問と操作方法）"
    check "the help window opens where the main window was" test "$(position "$help")" = 0,0
    xdotool windowmove "$help" 40 30
    sleep 0.5
    shot "$work/help.png"
    click_at $((40 + 584)) $((30 + 12)) # 閉じる
fi
main=$(timeout 10 bash -c "$(declare -f window_named); window_named '^ Torvikan$'")
check "閉じる brings back a main window" test -n "$main"
if [ -n "$main" ]; then
    check "the main window comes back where the help window was" test "$(position "$main")" = 40,30
    xdotool windowmove "$main" 0 0
    sleep 0.5
fi
shot "$work/fresh.png"
check "the new main window shows the start picture" start_picture "$work/fresh.png"

# --- 終了, No, then Yes --------------------------------------------------------
for _ in $(seq 5); do next_step; done
shot "$work/before-exit.png"
goodbye_from=$(bytes)
exit_button
box=$(timeout 10 bash -c "$(declare -f window_named); window_named '^Torvikan$'")
check "終了 asks its question" test -n "$box"
check "終了 plays the goodbye cue while it asks" heard "$goodbye_from"
xdotool key --clearmodifiers Tab space # from Yes, the default, to No
sleep 1
check "No keeps the program running" kill -0 "$program_pid"
shot "$work/after-no.png"
check "No leaves the field as it was" cmp -s <(convert "$work/before-exit.png" -crop 649x393+16+128 rgb:-) \
    <(convert "$work/after-no.png" -crop 649x393+16+128 rgb:-)

exit_button
box=$(timeout 10 bash -c "$(declare -f window_named); window_named '^Torvikan$'")
xdotool key --clearmodifiers Return # Yes
ended=no
for _ in $(seq 50); do
    if ! kill -0 "$program_pid" 2>/dev/null; then ended=yes; break; fi
    sleep 0.1
done
check "Yes ends the program" test $ended = yes
wait "$program_pid" 2>/dev/null
check "the program exits cleanly" test $? -eq 0

# --- a broken chime beside the pupil's work --------------------------------------
# A WAV of a cue's name in the working folder wins over the shipped one: an
# empty pinpon.wav stays silent, and the other cues still play.
mkdir -p "$work/broken"
: >"$work/broken/pinpon.wav"
(cd "$work/broken" && exec "$program") >"$work/broken.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
main=$(timeout 20 bash -c "$(declare -f window_named); window_named '^ Torvikan$'")
xdotool windowmove "$main" 0 0
sleep 0.5
chime_from=$(bytes)
initialise
check "an empty pinpon.wav in the working folder is silent" silent "$chime_from"
goodbye_from=$(bytes)
exit_button
check "the goodbye cue still plays beside it" heard "$goodbye_from"
timeout 10 bash -c "$(declare -f window_named); window_named '^Torvikan$'" >/dev/null
xdotool key --clearmodifiers Return # Yes
wait "$program_pid" 2>/dev/null

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
