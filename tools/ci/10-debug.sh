#!/usr/bin/env bash
# The debug build (AddressSanitizer + UBSan) and every unit test.
set -euo pipefail
cmake --preset debug
cmake --build --preset debug
ctest --preset debug -j2 --label-exclude "tsan|wine"
