#!/usr/bin/env bash
# End to end, as a pupil uses Torvikan: the installed program in a real X
# server (Xvfb), real mouse clicks (xdotool), screenshots (ImageMagick) and
# real sound through a PulseAudio null sink recorded with parec. The
# program starts from an empty home folder, so it must find its cues where
# it was installed.
#   e2e.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
for tool in Xvfb xdotool import convert pulseaudio parec pactl od awk; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/deps.sh test installs it)"; exit 77; }
done

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
passed=0
failed=0
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then passed=$((passed + 1)); echo "ok   - $what"; else failed=$((failed + 1)); echo "FAIL - $what"; fi
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
program=$work/prefix/bin/torvikan
table=$work/prefix/bin/torvikan-table

# A sound server of our own, with its folders under $work so that it works
# as root without a desktop session, and a null sink whose monitor we record.
mkdir -p "$work/home" "$work/run" && chmod 700 "$work/run"
export HOME=$work/home XDG_RUNTIME_DIR=$work/run PULSE_RUNTIME_PATH=$work/run/pulse \
    PULSE_STATE_PATH=$work/home/pulse PULSE_SERVER=unix:$work/pulse.sock
pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes -n \
    --load="module-null-sink sink_name=torvikan_null rate=44100 channels=1" \
    --load="module-native-protocol-unix socket=$work/pulse.sock auth-anonymous=1" >"$work/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink torvikan_null >/dev/null 2>&1 || { echo "FAIL: PulseAudio did not start"; cat "$work/pulse.log"; exit 1; }
recording=$work/sound.raw
parec -d torvikan_null.monitor --format=s16le --rate=44100 --channels=1 --latency-msec=20 >"$recording" 2>/dev/null &
pids+=($!)

exec 5<> >(:)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
read -r -t 20 display <&5 || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=:$display
unset QT_QPA_PLATFORM
sleep 0.5

bytes() { stat -c %s "$recording"; }
# loud FROM_BYTE: how many samples recorded since then, after a moment to
# play, reach -40 dBFS; a cue has thousands, a click a few.
loud() {
    sleep 1.5
    tail -c +$(($1 + 1)) "$recording" | od -An -v -td2 -w2 | awk '$1 >= 328 || $1 <= -328 { n++ } END { print n + 0 }'
}
heard() { local n; n=$(loud "$1"); echo "     $n loud samples"; [ "$n" -ge 4410 ]; }
window_named() { timeout "${2:-10}" xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
position() { xdotool getwindowgeometry "$1" | awk '/Position/ { print $2 }'; }
# Client-area pixels of the main window's buttons (no window manager runs,
# so windows have no frame), and chart metres to screen pixels as the field
# maps them: 645 × 389 pixels for 120 × 70 m, from its interior at (18, 130).
click_at() { xdotool mousemove "$1" "$2" click 1; }
next_step() { click_at 512 596; }
initialise() { click_at 652 12; }
exit_button() { click_at 28 12; }
sx() { awk -v x="$1" 'BEGIN { v = x * 645 / 120; f = int(v); if (f > v) f--; print 18 + f }'; }
sy() { awk -v y="$1" 'BEGIN { v = y * 389 / 70; f = int(v); if (f > v) f--; print 130 + f }'; }
is_colour() { # is_colour X Y R,G,B, on the screen now
    local got
    got=$(import -window root -crop "1x1+$1+$2" -depth 8 txt:- | awk 'NR == 2 { print $2 }' | tr -d '()' | cut -d, -f1-3)
    [ "$got" = "$3" ] || { echo "     pixel ($1, $2) is $got, not $3"; return 1; }
}
start_picture() {
    is_colour "$(sx 9.5)" "$(sy 59.5)" 255,0,0 && is_colour "$(sx 9.5)" "$(sy 9.5)" 0,0,255 &&
        is_colour "$(sx 10)" "$(sy 35)" 0,0,0 && is_colour "$(sx 33.5)" "$(sy 59.5)" 255,255,255
}

# The program from the empty home folder, its main window at (0, 0).
(cd "$HOME" && exec "$program") >"$work/program.log" 2>&1 &
program_pid=$!
pids+=($program_pid)
main=$(window_named '^ Torvikan$' 20)
[ -n "$main" ] || { echo "FAIL: the main window did not appear"; cat "$work/program.log"; exit 1; }
xdotool windowmove "$main" 0 0 && sleep 0.5
check "the window opens on the start picture" start_picture
inputs() { import -window root -crop 681x90+0+534 "$1"; } # the input band
inputs "$work/inputs.png"
for _ in $(seq 77); do next_step; done
from=$(bytes)
next_step
check "the catch cue is heard at click 78" heard "$from"
# Where the table tool says the dog was at click 30 and the mouse at click
# 40, in chart metres, for the middle of each 1 m mark left of and above it.
read -r dx dy < <("$table" --steps 30 | awk -F '\t' '$1 == 30 { print $4 + 9.5, 59.5 - $5 }')
check "the blue trail where the dog was at click 30" is_colour "$(sx "$dx")" "$(sy "$dy")" 0,0,255
check "the red trail where the mouse was at click 40" is_colour "$(sx 33.5)" "$(sy 59.5)" 255,0,0

from=$(bytes)
initialise
check "初期化 plays the chime" heard "$from"
check "初期化 returns the start picture" start_picture

# HELP and 閉じる: each window opens where the other stood, and the new
# main window has forgotten what was typed.
click_at 224 552 && xdotool key ctrl+a && xdotool type 3
from=$(bytes)
click_at 596 12
help=$(window_named 'ヘルプ')
check "HELP opens the help window in the main window's place" test -n "$help" -a "$(position "$help")" = 0,0
check "the main window is gone while help is open" test -z "$(window_named '^ Torvikan$' 1)"
check "HELP's chime is heard after the main window is gone" heard "$from"
check "the help window's title is exactly its own" test "$(xdotool getwindowname "$help")" = " Torvikan＿ヘルプ（設問と操作方法）"
xdotool windowmove "$help" 40 30 && sleep 0.5
click_at 624 42 # 閉じる
main=$(window_named '^ Torvikan$')
check "閉じる brings back a main window where help was" test -n "$main" -a "$(position "$main")" = 40,30
xdotool windowmove "$main" 0 0 && sleep 0.5
check "the new main window shows the start picture" start_picture
inputs "$work/inputs-again.png"
check "the inputs are back at 6, 10 and 0.1" compare -metric AE "$work/inputs.png" "$work/inputs-again.png" null: 2>/dev/null

# 終了: No, then Yes.
from=$(bytes)
exit_button
check "終了 asks its question" test -n "$(window_named '^Torvikan$')"
check "終了 plays the goodbye cue while it asks" heard "$from"
xdotool key --clearmodifiers Tab space # from Yes, the default, to No
sleep 1
check "No keeps the program running" kill -0 "$program_pid"
exit_button
window_named '^Torvikan$' >/dev/null
xdotool key --clearmodifiers Return # Yes
timeout 5 tail --pid="$program_pid" -f /dev/null
check "Yes ends the program" bash -c "! kill -0 $program_pid 2>/dev/null"
wait "$program_pid" 2>/dev/null
check "the program exits cleanly" test $? -eq 0

echo "e2e: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
