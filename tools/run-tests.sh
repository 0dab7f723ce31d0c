#!/usr/bin/env bash
# Installs what is needed, builds and runs every test stage under tools/ci/ in order.
# Exits non-zero as soon as a stage fails.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
for stage in tools/ci/[0-9]*.sh; do
    echo "=== ${stage##*/}"
    start=$SECONDS
    bash "$stage"
    echo "=== ${stage##*/} passed in $((SECONDS - start)) s"
done
