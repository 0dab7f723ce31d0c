#!/usr/bin/env bash
# A private place to run Windows programs: Xvfb at exactly 640x480x24 (on a larger screen Wine refuses the
# intro's display mode), a PulseAudio server whose only sink is a null sink at 44100 Hz stereo (its monitor is
# what the tests record) and a fresh 64-bit Wine prefix with a persistent wineserver. Everything lives in one
# temporary directory outside the repository, whose path is written to STATE.
#
#   session.sh start STATE   start a session (stopping the one STATE names, if any)
#   session.sh stop STATE    stop the session STATE names and remove its directory
#
# Then `source tools/wine/env.sh STATE` gives a shell the session's DISPLAY, PULSE_SERVER and WINEPREFIX.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

usage() {
    echo "usage: $0 start|stop STATE" >&2
    exit 2
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        ((SECONDS < deadline)) || return 1
        sleep 0.2
    done
}

# The session's servers and programs run at a higher priority where we may raise it (as root): on a
# machine busy with builds Wine's sound stream otherwise runs dry again and again.
boost=()
if nice -n -10 true 2>/dev/null; then boost=(nice -n -10); fi

# Starts a daemon in its own session with no terminal and its output in a log, so that whoever started us
# (CTest waits for the pipes of its tests to close) is not held by it; prints its pid.
spawn() {
    local log=$1
    shift
    setsid "${boost[@]}" "$@" </dev/null >"$log" 2>&1 &
    echo $!
}

stop_session() {
    local state=$1 dir
    [ -f "$state" ] || return 0
    dir=$(cat "$state")
    rm -f "$state"
    [ -d "$dir" ] || return 0
    if [ -f "$dir/env" ]; then
        (
            # shellcheck source=/dev/null
            source "$dir/env"
            timeout 20 wineserver -k >/dev/null 2>&1 || true
        )
    fi
    local pid
    for name in pulseaudio xvfb; do
        [ -f "$dir/$name.pid" ] || continue
        pid=$(cat "$dir/$name.pid")
        kill "$pid" 2>/dev/null || continue
        for _ in $(seq 50); do
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pid" 2>/dev/null || true
    done
    case "$dir" in
    */intro-wine.*) rm -rf "$dir" ;;
    esac
}

start_session() {
    local state=$1
    stop_session "$state"
    mkdir -p "$(dirname "$state")"
    local dir
    dir=$(mktemp -d "${TMPDIR:-/tmp}/intro-wine.XXXXXX")
    echo "$dir" >"$state"
    mkdir -p "$dir/home" "$dir/run"
    chmod 700 "$dir/run"

    # The X server picks a free display itself and writes its number once it accepts clients.
    : >"$dir/display"
    setsid "${boost[@]}" Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp -noreset \
        3>"$dir/display" </dev/null >"$dir/xvfb.log" 2>&1 &
    echo $! >"$dir/xvfb.pid"
    if ! wait_for 20 grep -q '[0-9]' "$dir/display"; then
        echo "Xvfb did not start:" >&2
        cat "$dir/xvfb.log" >&2
        return 1
    fi
    local display
    display=:$(tr -dc '0-9' <"$dir/display")

    # pulseaudio -n loads no default configuration: the null sink and a socket of our own are all it has.
    # As root it warns that it is not meant for root, and works.
    local socket=$dir/run/pulse.sock
    HOME=$dir/home XDG_RUNTIME_DIR=$dir/run XDG_CONFIG_HOME=$dir/home/.config \
        spawn "$dir/pulseaudio.log" pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 \
        --use-pid-file=no --disallow-exit --log-target=stderr \
        -L "module-null-sink sink_name=nullsink rate=44100 channels=2 format=s16le" \
        -L "module-native-protocol-unix socket=$socket auth-anonymous=1" >"$dir/pulseaudio.pid"

    # Wine asks the sound server for a short buffer that runs dry whenever its feeding thread is late, as it
    # often is on a busy machine; 100 ms of buffer there keeps the stream whole (and only delays it).
    cat >"$dir/env" <<EOF
export HOME=$dir/home
export DISPLAY=$display
export PULSE_SERVER=unix:$socket
export PULSE_LATENCY_MSEC=100
export XDG_RUNTIME_DIR=$dir/run
export WINEPREFIX=$dir/prefix
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export INTRO_WINE_SESSION=$dir
EOF
    # shellcheck source=/dev/null
    source "$dir/env"
    if ! wait_for 20 pactl info; then
        echo "PulseAudio did not start:" >&2
        cat "$dir/pulseaudio.log" >&2
        return 1
    fi

    # A persistent wineserver keeps each program's start short; stop_session ends it with -k.
    timeout 120 wineboot --init >"$dir/wineboot.log" 2>&1 || {
        echo "wineboot failed:" >&2
        cat "$dir/wineboot.log" >&2
        return 1
    }
    timeout 60 wineserver -w
    # Without a window manager a managed full-screen window stalls about 2 s when it closes. DirectDraw stays
    # on the OpenGL renderer (Mesa's software rasteriser on Xvfb): the GDI renderer has no video memory, so
    # the intro's video-memory surfaces (stars, font, credit lines) could not be created.
    timeout 60 wine regedit /S "$(winepath -w "$here/wine-settings.reg" 2>/dev/null)" >>"$dir/wineboot.log" 2>&1
    timeout 60 wineserver -w
    spawn "$dir/wineserver.log" wineserver -f -p >"$dir/wineserver.pid"
    wait_for 20 wine cmd /c exit 0
}

[ $# -eq 2 ] || usage
case "$1" in
start) start_session "$2" ;;
stop) stop_session "$2" ;;
*) usage ;;
esac
