#!/usr/bin/env bash
# xmtool.exe under Wine renders every song of the corpus to the same bytes as the native xmtool: the
# mixer's arithmetic is fixed to the bit, so any difference is a fault.
#   render-test.sh STATE XMTOOL WINDOWS_PROGRAMS SONGS_DIR SECONDS WORKDIR
set -euo pipefail
state=$1 native=$2 programs=$3 songs=$4 seconds=$5 work=$6
source "$(dirname "$0")/../../tools/wine/env.sh" "$state"
source "$(dirname "$0")/../../tools/wine/lib.sh"
windows=$(windows_program "$programs" xmtool)
[ -x "$native" ] || fail "$native is missing"

rm -rf "$work" && mkdir -p "$work" && cd "$work"
# Wine's view of a path of this machine.
windows_path() { echo "Z:${1//\//\\}"; }

shopt -s nullglob
list=("$songs"/*.xm)
((${#list[@]})) || fail "no songs in $songs"
failed=0
for song in "${list[@]}"; do
    name=$(basename "$song" .xm)
    start=$(now_ms)
    timeout 120 "$native" render "$song" -o "$work/$name.native.wav" --seconds "$seconds" >/dev/null ||
        fail "xmtool render $name failed"
    middle=$(now_ms)
    timeout 300 wine "$windows" render "$(windows_path "$song")" -o "$(windows_path "$work/$name.wine.wav")" \
        --seconds "$seconds" >"$name.wine.log" 2>&1 || fail "xmtool.exe render $name failed: $(cat "$name.wine.log")"
    end=$(now_ms)
    if cmp -s "$name.native.wav" "$name.wine.wav"; then
        verdict=same
    else
        verdict="DIFFERENT ($(cmp "$name.native.wav" "$name.wine.wav" 2>&1 | head -n1))"
        failed=1
    fi
    printf '%-28s %9d bytes  native %5d ms  wine %5d ms  %s\n' "$name" "$(stat -c %s "$name.native.wav")" \
        $((middle - start)) $((end - middle)) "$verdict"
done
((failed == 0)) || fail "xmtool.exe and xmtool rendered different bytes"
