#!/usr/bin/env bash
# The intro on Linux through SDL2 (debug build, so with AddressSanitizer), under a private X server of
# 640x480: it opens its window and shows the logo, and Escape ends it with exit code 0. It is given no
# sound device, so it also has to say so and play on silently. The screenshot is kept in build/intro-sdl/.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${INTRO_SDL_BUILD:-build/debug} # another debug tree may be named
cmake --preset debug -B "$build" >/dev/null
cmake --build "$build" --target intro
# Debian's Python, which has python3-pil, even when another python3 comes first on PATH.
python=python3
[ -x /usr/bin/python3 ] && python=/usr/bin/python3
work=build/intro-sdl
rm -rf "$work" && mkdir -p "$work"

Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
intro=""
cleanup() {
    [ -n "$intro" ] && kill "$intro" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

# Leak checking stops the world with ptrace, which threads left by the system's libraries make fail.
# An audio driver that does not exist: the sound device cannot be opened, whatever the machine has.
SDL_AUDIODRIVER=none ASAN_OPTIONS=detect_leaks=0 INTRO_WINDOWED=0 "$build/shell/intro" >"$work/intro.log" 2>&1 &
intro=$!
timeout 30 xdotool search --sync --name "Quorvan DirectDraw Wrapper" >/dev/null
sleep 3 # let a good number of frames go by
xwd -root -silent >"$work/screen.xwd"
colours=$("$python" tools/ci/xwd_to_png.py "$work/screen.xwd" "$work/screen.png")
echo "screenshot: $work/screen.png, $colours colours"
[ "$colours" -gt 50 ] || { echo "the intro's picture is missing"; exit 1; }

xdotool key Escape
status=0
for _ in $(seq 100); do kill -0 "$intro" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$intro" 2>/dev/null; then
    echo "Escape did not end the intro"
    exit 1
fi
wait "$intro" || status=$?
intro=""
grep -v '^ALSA lib' "$work/intro.log" || true
[ "$status" -eq 0 ] || { echo "the intro ended with exit code $status"; exit 1; }
grep -q "no audio device could be opened" "$work/intro.log" || { echo "the missing sound device went unmentioned"; exit 1; }
echo "the intro ran under SDL2 and ended on Escape with exit code 0"
