#!/usr/bin/env bash
# Proves the Wine session with the probe: full-screen 640x480x16 through DirectDraw, sound through waveOut
# into the null sink, Escape ends it with exit code 0 and nothing of it is left running.
#   probe-test.sh STATE WINDOWS_PROGRAMS WORKDIR
set -euo pipefail
state=$1 programs=$2 work=$3
source "$(dirname "$0")/../../tools/wine/env.sh" "$state"
source "$(dirname "$0")/../../tools/wine/lib.sh"
probe=$(windows_program "$programs" wine-probe)

rm -rf "$work" && mkdir -p "$work" && cd "$work"
trap 'stop_recording; kill "${program_pid:-}" 2>/dev/null || true' EXIT

start_recording probe.raw
start_program 60 "$probe"
wait_for_window "Wine probe" 30 >/dev/null || fail "no probe window; $(cat program.log)"
note "window up"
screenshot_until 30 probe.xwd compare ramps || fail "the ramps did not show: $(compare ramps probe.xwd)"
note "ramps on the screen"
sleep 2
press_key Escape
wait_for_exit 10 || fail "the probe did not end within 10 s of Escape"
stop_recording
note "exit code $program_status after ${program_exit_ms} ms"
[ "$program_status" -eq 0 ] || fail "exit code $program_status; $(cat program.log)"
left=$(session_processes "$(basename "$probe")")
[ -z "$left" ] || fail "still running: $left"

compare ramps probe.xwd
compare tone probe.raw 441
