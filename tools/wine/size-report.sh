#!/usr/bin/env bash
# Reports the size of Windows executables: the whole file, the resources (.rsrc) and the rest (code, data,
# imports, relocations: what the program is without its assets), with the DLLs each one imports.
#   size-report.sh EXE...
set -euo pipefail
[ $# -ge 1 ] || {
    echo "usage: $0 EXE..." >&2
    exit 2
}
objdump=x86_64-w64-mingw32-objdump

printf '%-16s %10s %10s %14s  %s\n' program file resources "without them" imports
for exe in "$@"; do
    file_bytes=$(stat -c %s "$exe")
    # Section lines: index, name, size, VMA, LMA, file offset, alignment. The resources take their size
    # rounded up to the file alignment of 512 bytes.
    rsrc_hex=$($objdump -h "$exe" | awk '$2 == ".rsrc" { print $3 }')
    rsrc_bytes=$(((0x${rsrc_hex:-0} + 511) / 512 * 512))
    imports=$($objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | tr '\n' ' ')
    printf '%-16s %10d %10d %14d  %s\n' "$(basename "$exe")" "$file_bytes" "$rsrc_bytes" \
        "$((file_bytes - rsrc_bytes))" "$imports"
done
