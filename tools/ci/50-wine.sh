#!/usr/bin/env bash
# The Windows build, run for real under Wine: the MinGW-w64 cross build of every program, the native
# programs the Windows ones are held against (introcap, xmtool), then the tests labelled wine: the packaging,
# the harness's probe, the intro end to end, and xmtool.exe rendering the same bytes as xmtool.
set -euo pipefail
cmake --preset mingw
cmake --build --preset mingw
cmake --preset release
cmake --build --preset release --target wine-test-programs
ctest --preset wine
