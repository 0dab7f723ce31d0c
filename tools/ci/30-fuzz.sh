#!/usr/bin/env bash
# The XM loader, and the loader followed by playback, under libFuzzer (clang, AddressSanitizer, UBSan,
# leak checks), each for a set time, seeded from the shared corpus and the intro's own tune. A crash, a
# sanitizer report, a leak, a slow input or runaway memory fails the stage and leaves the input under
# build/fuzz/NAME/artifacts/.
set -euo pipefail
cmake --preset fuzz
cmake --build --preset fuzz --target xm_loader_fuzzer xm_playback_fuzzer

# Runs fuzzer $1 for $2 seconds.
fuzz() {
    local work=build/fuzz/$1
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    for folder in ../shared/xm-corpus/songs ../shared/xm-corpus/tests; do
        if [ -d "$folder" ]; then cp "$folder"/*.xm "$work/corpus/"; fi
    done
    cp resources/track.xm "$work/corpus/"
    "build/fuzz/fuzz/$1" -max_total_time="$2" -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \
        -max_len=131072 -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus"
}

fuzz xm_loader_fuzzer 45
fuzz xm_playback_fuzzer 75
