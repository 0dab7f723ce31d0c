#!/usr/bin/env bash
# introcap.exe under Wine writes the same files as the native introcap: every frame and the music of the
# intro are functions of the frame number alone, whatever the platform.
#   capture-test.sh STATE INTROCAP WINDOWS_PROGRAMS WORKDIR
set -euo pipefail
state=$1 native=$2 programs=$3 work=$4
source "$(dirname "$0")/../../tools/wine/env.sh" "$state"
source "$(dirname "$0")/../../tools/wine/lib.sh"
windows=$(windows_program "$programs" introcap)
[ -x "$native" ] || fail "$native is missing"

rm -rf "$work" && mkdir -p "$work" && cd "$work"
# One whole cycle of the scene (scroller and four credit lines take 1082 frames) and the start of the next,
# with frames from every state.
arguments=(--frames 1100 --shot 1,100,268,269,400,500,700,900,1082,1083,1100 --sheet --wav)
timeout 120 "$native" "${arguments[@]}" --out native >native.log 2>&1 || fail "introcap failed: $(cat native.log)"
# Now and then Wine itself fails to start a program: say so and try once more.
if ! timeout 300 wine "$windows" "${arguments[@]}" --out wine >wine.log 2>&1; then
    echo "introcap.exe failed, trying once more; what Wine printed: $(cat wine.log)"
    rm -rf wine
    timeout 300 wine "$windows" "${arguments[@]}" --out wine >wine.log 2>&1 ||
        fail "introcap.exe failed twice: $(cat wine.log)"
fi
files=$(cd native && ls)
[ -n "$files" ] || fail "introcap wrote nothing"
[ "$files" = "$(cd wine && ls)" ] || fail "introcap.exe wrote other files: $(cd wine && ls | tr '\n' ' ')"
for file in $files; do
    cmp "native/$file" "wine/$file" || fail "introcap.exe's $file differs"
done
echo "introcap.exe and introcap wrote the same $(wc -w <<<"$files") files"
