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

# The reference: every frame of the first 20 s or so (the screenshot falls somewhere among them) and the
# music of that span.
frames=700
note "introcap: $frames frames"
timeout 300 "$introcap" --frames "$frames" --shot "$(seq -s, 1 "$frames")" --wav --out reference \
    >introcap.log 2>&1 || fail "introcap failed: $(cat introcap.log)"
shopt -s nullglob
reference_wav=(reference/*.wav)
((${#reference_wav[@]} == 1)) || fail "introcap wrote ${#reference_wav[@]} WAV files"

note "starting intro.exe"
start_recording intro.raw
started=$(now_ms)
start_program 120 "$intro"
wait_for_window "Quorvan DirectDraw Wrapper" 30 >/dev/null || fail "no intro window; $(cat program.log)"
note "window up after $(($(now_ms) - started)) ms"
sleep 5
screenshot intro.xwd
note "screenshot taken"
sleep 5
press_key Escape
note "Escape sent"
wait_for_exit 10 || fail "intro.exe did not end within 10 s of Escape"
stop_recording
note "exit code $program_status after ${program_exit_ms} ms; ran $(($(now_ms) - started)) ms in all"
[ "$program_status" -eq 0 ] || fail "exit code $program_status; $(cat program.log)"
sleep 1
left=$(session_processes "$(basename "$intro")")
[ -z "$left" ] || fail "still running: $left"

compare screen intro.xwd $(ls reference/*.png | sort -V)
compare tune intro.raw "${reference_wav[0]}"
