# Helpers for the scripts that drive a Windows program in a Wine session; sourced after env.sh.
# Every step that waits has a deadline.

wine_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

note() { echo "[$(date +%T.%N | cut -c1-12)] $*"; }

# The Python that has numpy (Debian's, even when another python3 comes first on PATH).
wine_python() {
    local candidate
    for candidate in /usr/bin/python3 python3; do
        if "$candidate" -c 'import numpy' >/dev/null 2>&1; then
            "$candidate" "$@"
            return
        fi
    done
    fail "no python3 with numpy (install python3-numpy)"
}

# The path of the Windows program $2 as listed by the mingw build's windows-programs.txt ($1).
windows_program() {
    [ -f "$1" ] || fail "$1 is missing (configure and build the mingw preset first)"
    local path
    path=$(sed -n "s/^$2=//p" "$1")
    [ -n "$path" ] || fail "the Windows build has no $2"
    [ -f "$path" ] || fail "$path is missing (build the mingw preset first)"
    echo "$path"
}

compare() { wine_python "$wine_tools/compare.py" "$@"; }

# Records the null sink's monitor as raw 16-bit stereo at 44100 Hz into $1 until stop_recording.
start_recording() {
    parec --device=nullsink.monitor --format=s16le --rate=44100 --channels=2 --raw --latency-msec=20 \
        >"$1" 2>"$1.log" &
    recording_pid=$!
}

stop_recording() {
    [ -n "${recording_pid:-}" ] || return 0
    kill "$recording_pid" 2>/dev/null || true
    wait "$recording_pid" 2>/dev/null || true
    recording_pid=
}

# Starts a Windows program under Wine in the background (with its own hard deadline of $1 seconds);
# its pid is in program_pid and its output in program.log of the current directory.
start_program() {
    local deadline=$1
    shift
    local boost=()
    if nice -n -10 true 2>/dev/null; then boost=(nice -n -10); fi
    timeout -k 5 "$deadline" "${boost[@]}" wine "$@" >program.log 2>&1 &
    program_pid=$!
}

# Waits until a top-level window with the title $1 exists, at most $2 seconds; prints its id.
wait_for_window() {
    local deadline=$((SECONDS + $2)) id
    while ((SECONDS < deadline)); do
        id=$(timeout 5 xdotool search --name "^$1\$" 2>/dev/null | head -n1) || true
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$program_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

screenshot() { timeout 20 xwd -root -silent >"$1"; }

# Takes a screenshot into $2 again and again until the check that follows succeeds on it (given the
# file as its last argument), at most $1 seconds: the first frames can take a while under Wine.
screenshot_until() {
    local deadline=$(($(now_ms) + $1 * 1000)) shot=$2
    shift 2
    while (($(now_ms) < deadline)); do
        kill -0 "$program_pid" 2>/dev/null || return 1
        screenshot "$shot"
        "$@" "$shot" >>"$shot.log" 2>&1 && return 0
        sleep 0.5
    done
    return 1
}

# Sends a key press and release to the window that has the focus (the full-screen program's).
press_key() { timeout 10 xdotool key "$1"; }

now_ms() {
    local t=${EPOCHREALTIME/./}
    echo $((t / 1000))
}

# Waits at most $1 seconds for the program to end; sets program_status (124 when it did not end) and
# program_exit_ms, how long it took.
wait_for_exit() {
    local start deadline
    start=$(now_ms)
    deadline=$((start + $1 * 1000))
    program_status=124
    while kill -0 "$program_pid" 2>/dev/null; do
        (($(now_ms) < deadline)) || return 1
        sleep 0.05
    done
    program_exit_ms=$(($(now_ms) - start))
    wait "$program_pid" && program_status=0 || program_status=$?
    return 0
}

# Lists the processes of this session's prefix whose command line contains $1.
session_processes() {
    local pid
    for pid in $(ls /proc | grep -E '^[0-9]+$'); do
        { tr '\0' '\n' <"/proc/$pid/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" || continue
        { tr '\0' ' ' <"/proc/$pid/cmdline"; } 2>/dev/null | grep -qF "$1" || continue
        echo "$pid $(tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null)"
    done
}
