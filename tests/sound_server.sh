# Sourced by the tests that listen to Torvikan: a PulseAudio server of their
# own with a null sink whose monitor parec can record, and measures of what
# such a recording holds (raw signed 16-bit mono).

# start_sound_server WORK: starts the server with its runtime and state
# folders, its socket and its log under WORK, so that it works as root
# without a desktop session and meets no other server. Sets HOME,
# XDG_RUNTIME_DIR and PULSE_SERVER for the programs started after it, and
# sound_server_pid. The sink is "torvikan_null".
start_sound_server() {
    local work=$1
    mkdir -p "$work/home" "$work/run"
    chmod 700 "$work/run"
    export HOME=$work/home XDG_RUNTIME_DIR=$work/run
    export PULSE_RUNTIME_PATH=$work/run/pulse PULSE_STATE_PATH=$work/home/pulse
    export PULSE_SERVER=unix:$work/pulse.sock
    pulseaudio --daemonize=no --system=false --exit-idle-time=-1 --use-pid-file=no \
        --disable-shm=yes -n \
        --load="module-null-sink sink_name=torvikan_null rate=44100 channels=1" \
        --load="module-native-protocol-unix socket=$work/pulse.sock auth-anonymous=1" \
        --log-target=stderr >"$work/pulse.log" 2>&1 &
    sound_server_pid=$!
    for _ in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    if ! pactl set-default-sink torvikan_null >/dev/null 2>&1; then
        echo "FAIL: PulseAudio did not start"
        cat "$work/pulse.log"
        return 1
    fi
}

stop_sound_server() {
    [ -n "${sound_server_pid:-}" ] && kill "$sound_server_pid" 2>/dev/null && wait "$sound_server_pid" 2>/dev/null
    sound_server_pid=
}

# The loudest sample of a recording, in dBFS; "silent" when every sample is 0.
peak_dbfs() {
    od -An -v -td2 -w2 "$1" | awk '
        { v = $1 < 0 ? -$1 : $1; if (v > m) m = v }
        END { if (m == 0) print "silent"; else printf "%.1f\n", 20 * log(m / 32768) / log(10) }'
}

# Samples of at least -40 dBFS: a click or a crackle has a few, a cue
# thousands.
loud_samples() {
    od -An -v -td2 -w2 "$1" | awk '{ if ($1 >= 328 || $1 <= -328) n++ } END { print n + 0 }'
}
