#!/usr/bin/env bash
# xmtool.exe under Wine renders every module of the given folders to the same bytes as the native xmtool:
# the mixer's arithmetic is fixed to the bit, so any difference is a fault. A module that the native
# xmtool refuses must be refused by xmtool.exe with the same exit status.
#   render-test.sh STATE XMTOOL WINDOWS_PROGRAMS WORKDIR SECONDS DIR...   (SECONDS "": each module once through)
set -euo pipefail
state=$1 native=$2 programs=$3 work=$4 seconds=$5
shift 5
source "$(dirname "$0")/../../tools/wine/env.sh" "$state"
source "$(dirname "$0")/../../tools/wine/lib.sh"
windows=$(windows_program "$programs" xmtool)
[ -x "$native" ] || fail "$native is missing"

rm -rf "$work" && mkdir -p "$work" && cd "$work"
# Wine's view of a path of this machine.
windows_path() { echo "Z:${1//\//\\}"; }
length=()
[ -z "$seconds" ] || length=(--seconds "$seconds")

# Renders module $1 with xmtool.exe into $2.wine.wav; sets wine_status.
render_under_wine() {
    wine_status=0
    timeout 300 wine "$windows" render "$(windows_path "$1")" -o "$(windows_path "$work/$2.wine.wav")" \
        "${length[@]}" >"$2.wine.log" 2>&1 || wine_status=$?
}

shopt -s nullglob
modules=()
for dir in "$@"; do modules+=("$dir"/*.xm); done
((${#modules[@]})) || fail "no modules in $*"
failed=0 rendered=0 refused=0 native_ms=0 wine_ms=0
for module in "${modules[@]}"; do
    name=$(basename "$module" .xm)
    start=$(now_ms)
    native_status=0
    timeout 120 "$native" render "$module" -o "$name.native.wav" "${length[@]}" >"$name.native.log" 2>&1 ||
        native_status=$?
    middle=$(now_ms)
    render_under_wine "$module" "$name"
    retry=""
    if ((wine_status != native_status)); then
        # Now and then Wine itself fails to start a program (it ends at once, before the program runs):
        # show what it said and try once more. A program that really differs differs again.
        echo "$name: xmtool.exe ended with status $wine_status; what Wine printed:"
        sed 's/^/    /' "$name.wine.log"
        render_under_wine "$module" "$name"
        retry=" (on a second try)"
    fi
    end=$(now_ms)
    native_ms=$((native_ms + middle - start))
    wine_ms=$((wine_ms + end - middle))
    if ((native_status != 0 || wine_status != 0)); then
        if ((native_status == wine_status)) && ((native_status != 124)); then
            verdict="refused by both (status $native_status)"
            refused=$((refused + 1))
        else
            verdict="DIFFERENT: status $native_status native, $wine_status under Wine"
            failed=$((failed + 1))
        fi
    elif cmp -s "$name.native.wav" "$name.wine.wav"; then
        verdict="same $(stat -c %s "$name.native.wav") bytes"
        rendered=$((rendered + 1))
        rm -f "$name.native.wav" "$name.wine.wav"
    else
        verdict="DIFFERENT: $(cmp "$name.native.wav" "$name.wine.wav" 2>&1 | head -n1)"
        failed=$((failed + 1))
    fi
    printf '%-40s native %5d ms  wine %5d ms  %s\n' "$name" $((middle - start)) $((end - middle)) "$verdict$retry"
done
echo "$rendered modules rendered alike, $refused refused by both, $failed different;" \
    "native $native_ms ms, wine $wine_ms ms in all"
((failed == 0)) || fail "xmtool.exe and xmtool disagree on $failed modules"
