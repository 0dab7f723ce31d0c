#!/usr/bin/env bash
# Installs what is needed, builds the release preset and runs the intro: full screen where there is a
# display (Escape quits). Without a display, one full cycle of the scene is captured headless instead:
# pictures and music go to a folder, and the script says where.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset release
cmake --build --preset release --target intro introcap

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec ./build/release/shell/intro
fi

out="$PWD/build/intro-capture"
echo "No display here (neither DISPLAY nor WAYLAND_DISPLAY is set): capturing one full cycle of the"
echo "intro headless instead."
./build/release/tools/introcap/introcap --frames cycle --sheet --wav --out "$out" >/dev/null
echo "Pictures: $out/frame-*.png, all of them side by side in $out/sheet.png"
echo "Music:    $out/music.wav"
