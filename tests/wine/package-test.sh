#!/usr/bin/env bash
# The Windows executables as shipped: intro.exe a GUI program carrying its resources with icon group 107 as
# its icon, xmtool.exe and introcap.exe console programs, none of them needing a MinGW DLL, and the intro's
# code and data (everything but the resources) within its budget.
#   package-test.sh BUDGET_KB WINDOWS_PROGRAMS
set -euo pipefail
budget_kb=$1 programs=$2
source "$(dirname "$0")/../../tools/wine/lib.sh"
objdump=x86_64-w64-mingw32-objdump
intro=$(windows_program "$programs" intro)
xmtool=$(windows_program "$programs" xmtool)
introcap=$(windows_program "$programs" introcap)
bash "$wine_tools/size-report.sh" "$intro" "$xmtool" "$introcap"

subsystem() { $objdump -p "$1" | awk '$1 == "Subsystem" { print $2 }'; }
[ "$(subsystem "$intro")" = 00000002 ] || fail "intro.exe is not a GUI program"
for exe in "$xmtool" "$introcap"; do
    [ "$(subsystem "$exe")" = 00000003 ] || fail "$(basename "$exe") is not a console program"
done
for exe in "$intro" "$xmtool" "$introcap"; do
    runtime=$($objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | grep -iE '^lib|pthread|stdc\+\+|gcc' || true)
    [ -z "$runtime" ] || fail "$(basename "$exe") needs $runtime"
done

resources=$(wine_python "$wine_tools/pe_resources.py" "$intro")
for wanted in "BITMAP 101" "BITMAP 102" "BITMAP 103" "BITMAP 104" "BITMAP 105" "BITMAP 106" "STRING 1" \
    "XM TRACK"; do
    grep -q "^$wanted " <<<"$resources" || fail "intro.exe has no resource $wanted"
done
# The shell shows the first icon group of the resource directory.
icons=$(awk '$1 == "GROUP_ICON" { print $2 }' <<<"$resources" | head -n1)
[ "$icons" = 107 ] || fail "the first icon group of intro.exe is '${icons}', not 107"

file_bytes=$(stat -c %s "$intro")
rsrc_hex=$($objdump -h "$intro" | awk '$2 == ".rsrc" { print $3 }')
rest=$((file_bytes - (0x${rsrc_hex:-0} + 511) / 512 * 512))
echo "intro.exe: $file_bytes bytes, $rest without its resources (budget $((budget_kb * 1024)))"
((rest <= budget_kb * 1024)) || fail "intro.exe's code and data take $rest bytes, over $budget_kb KB"
