#!/usr/bin/env bash
# Real playback: each cue, started by its button in the real windows with the
# real player, must reach a sound card. The sound card is a PulseAudio null
# sink of our own; parec records its monitor and the recording must hold
# sound (or, for a broken file, none).
#
#   playback.sh CUE_SESSION SHARE_DIR
#
# CUE_SESSION is the helper that clicks; SHARE_DIR holds the shipped cues.
set -uo pipefail

session=$1
share=$2
skip=77 # CTest's SKIP_RETURN_CODE for this test

for tool in pulseaudio parec pactl od awk; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed; 'bash scripts/deps.sh test' installs pulseaudio and pulseaudio-utils"
        exit $skip
    fi
done

source "$(dirname "$0")/../sound_server.sh"

work=$(mktemp -d)
cleanup() {
    stop_sound_server
    rm -rf "$work"
}
trap cleanup EXIT

start_sound_server "$work" || exit 1
unset DISPLAY
export QT_QPA_PLATFORM=offscreen

# record NAME BUTTON FOLDER: clicks BUTTON with FOLDER as the working folder
# and records what the sink plays meanwhile into $work/NAME.raw.
record() {
    local name=$1 button=$2 folder=$3
    parec -d torvikan_null.monitor --format=s16le --rate=44100 --channels=1 \
        --latency-msec=20 >"$work/$name.raw" 2>"$work/$name.parec.log" &
    local parec_pid=$!
    sleep 0.5
    (cd "$folder" && timeout 30 "$session" "$button") >"$work/$name.log" 2>&1
    local status=$?
    sleep 0.3
    kill "$parec_pid" 2>/dev/null
    wait "$parec_pid" 2>/dev/null
    if [ $status -ne 0 ]; then
        echo "FAIL: $name: cue_session $button ended with $status"
        cat "$work/$name.log"
        return 1
    fi
}

failed=0
# expect_sound NAME WHAT: the recording holds a cue.
expect_sound() {
    local peak loud
    peak=$(peak_dbfs "$work/$1.raw")
    loud=$(loud_samples "$work/$1.raw")
    if [ "$peak" != silent ] && awk -v p="$peak" 'BEGIN { exit !(p > -20) }' && [ "$loud" -ge 4410 ]; then
        echo "ok   - $2: peak $peak dBFS, $loud samples above -40 dBFS"
    else
        echo "FAIL - $2: peak $peak dBFS, $loud samples above -40 dBFS"
        failed=1
    fi
}
# expect_silence NAME WHAT: nothing was played.
expect_silence() {
    local peak
    peak=$(peak_dbfs "$work/$1.raw")
    if [ "$peak" = silent ] || awk -v p="$peak" 'BEGIN { exit !(p < -60) }'; then
        echo "ok   - $2: silent"
    else
        echo "FAIL - $2: peak $peak dBFS"
        failed=1
    fi
}

# sounds NAME BUTTON FOLDER WHAT / stays_silent NAME BUTTON FOLDER WHAT
sounds() { record "$1" "$2" "$3" && expect_sound "$1" "$4" || failed=1; }
stays_silent() { record "$1" "$2" "$3" && expect_silence "$1" "$4" || failed=1; }

empty=$work/empty
mkdir -p "$empty"
sounds init init "$empty" "pinpon.wav, 初期化"
sounds exit exit "$empty" "endpinpon.wav, 終了"
sounds catch catch "$empty" "logoff.wav, the catch"
sounds help help "$empty" "pinpon.wav, HELP, after the main window is gone"

# A broken chime in the working folder wins over the shipped one: it stays
# silent, and the other cues still play.
broken=$work/broken
mkdir -p "$broken"
: >"$broken/pinpon.wav"
stays_silent broken_init init "$broken" "0-byte pinpon.wav in the working folder, 初期化"
sounds broken_exit exit "$broken" "endpinpon.wav beside the broken chime, 終了"

[ $failed -eq 0 ] || { echo "pulseaudio log:"; tail -20 "$work/pulse.log"; exit 1; }
