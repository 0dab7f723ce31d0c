#!/usr/bin/env bash
# Installs what is needed, builds the release preset and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset release
cmake --build --preset release
./build/release/tools/xmtool info ../shared/xm-corpus/songs/milky.xm
