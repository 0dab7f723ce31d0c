#!/usr/bin/env bash
# The XM loader under libFuzzer (clang, AddressSanitizer, UBSan, leak checks) for a minute, seeded from
# the shared corpus. A crash, a sanitizer report, a leak, a slow input or runaway memory fails the stage
# and leaves the input under build/fuzz/xm-loader/artifacts/.
set -euo pipefail
cmake --preset fuzz
cmake --build --preset fuzz --target xm_loader_fuzzer
work=build/fuzz/xm-loader
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
for folder in ../shared/xm-corpus/songs ../shared/xm-corpus/tests; do
    if [ -d "$folder" ]; then cp "$folder"/*.xm "$work/corpus/"; fi
done
build/fuzz/fuzz/xm_loader_fuzzer -max_total_time=60 -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \
    -max_len=131072 -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus"
