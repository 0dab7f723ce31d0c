#!/usr/bin/env bash
# The thread sanitizer build: the tests labelled tsan, then the audio engine's tests, which run the
# mixer thread against the main thread and, optimised here, hold the mixer to the same bits as debug.
set -euo pipefail
cmake --preset tsan
cmake --build --preset tsan
ctest --preset tsan -j2
ctest --test-dir build/tsan -j2 -L audio --output-on-failure --no-tests=error
