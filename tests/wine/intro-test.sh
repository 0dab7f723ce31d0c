#!/usr/bin/env bash
# intro.exe end to end under Wine: it takes the 640x480 screen and shows what introcap shows (the logo
# exactly, stars and text in its band), the null sink hears the intro's tune, and Escape ends it with exit
# code 0 within a few seconds, leaving nothing of it running.
#   intro-test.sh STATE WINDOWS_PROGRAMS INTROCAP WORKDIR
set -euo pipefail
state=$1 programs=$2 introcap=$3 work=$4
source "$(dirname "$0")/../../tools/wine/env.sh" "$state"
source "$(dirname "$0")/../../tools/wine/lib.sh"
intro=$(windows_program "$programs" intro)
[ -x "$introcap" ] || fail "$introcap is missing"

rm -rf "$work" && mkdir -p "$work" && cd "$work"
trap 'stop_recording; kill "${program_pid:-}" 2>/dev/null || true' EXIT

note "starting intro.exe"
start_recording intro.raw
started=$(now_ms)
start_program 120 "$intro"
wait_for_window "Quorvan DirectDraw Wrapper" 30 >/dev/null || fail "no intro window; $(cat program.log)"
window_up=$(now_ms)
note "window up after $((window_up - started)) ms"
# The text enters from the right after a couple of seconds; slow frames under Wine make that later.
screenshot_until 60 intro.xwd compare band || fail "no stars and text in the band: $(compare band intro.xwd)"
shot_taken=$(now_ms)
note "stars and text on the screen after $((shot_taken - started)) ms"
# Enough of the tune for the comparison: it is heard about 0.4 s after the start, and its first seconds
# under Wine are uneven.
while (($(now_ms) - window_up < 10000)); do sleep 0.5; done
press_key Escape
note "Escape sent"
wait_for_exit 5 || fail "intro.exe did not end within 5 s of Escape"
stop_recording
ended=$(now_ms)
note "exit code $program_status after ${program_exit_ms} ms; ran $((ended - started)) ms in all"
[ "$program_status" -eq 0 ] || fail "exit code $program_status; $(cat program.log)"
sleep 1
left=$(session_processes "$(basename "$intro")")
[ -z "$left" ] || fail "still running: $left"

# The reference: a frame lasts more than 25 ms, so the screenshot shows one of the first (run time) / 25
# frames, and the music heard lies within the same span.
frames=$(((ended - started) / 25 + 40))
note "introcap: $frames frames"
timeout 300 "$introcap" --frames "$frames" --shot "$(seq -s, 1 "$frames")" --wav --out reference \
    >introcap.log 2>&1 || fail "introcap failed: $(cat introcap.log)"
note "introcap done"
compare screen intro.xwd $(ls reference/*.png | sort -V)
compare tune intro.raw reference/music.wav
