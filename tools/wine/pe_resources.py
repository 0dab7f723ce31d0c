#!/usr/bin/env python3
"""Lists the resources of a Windows executable, one "TYPE NAME SIZE" line each, in the order of its
resource directory (the order in which the shell looks for the program's icon).

  pe_resources.py EXE
"""
import struct
import sys

TYPES = {1: "CURSOR", 2: "BITMAP", 3: "ICON", 4: "MENU", 5: "DIALOG", 6: "STRING", 10: "RCDATA",
         12: "GROUP_CURSOR", 14: "GROUP_ICON", 16: "VERSION", 24: "MANIFEST"}


def main(path):
    data = open(path, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit(f"{path}: not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, rsrc_size = struct.unpack_from("<II", data, directories + 2 * 8)
    if not rsrc_size:
        return
    table = optional + optional_size
    for i in range(sections):
        _, virtual_size, rva, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, table + 40 * i)
        if rva <= rsrc_rva < rva + max(virtual_size, raw_size):
            base = raw_offset + rsrc_rva - rva
            rva_to_offset = raw_offset - rva
            break
    else:
        sys.exit(f"{path}: the resource directory lies in no section")

    def name_of(entry_name):
        if entry_name & 0x80000000:
            offset = base + (entry_name & 0x7FFFFFFF)
            length = struct.unpack_from("<H", data, offset)[0]
            return data[offset + 2:offset + 2 + 2 * length].decode("utf-16-le")
        return str(entry_name)

    def entries(offset):
        named, numbered = struct.unpack_from("<HH", data, base + offset + 12)
        for i in range(named + numbered):
            yield struct.unpack_from("<II", data, base + offset + 16 + 8 * i)

    for type_name, type_dir in entries(0):
        kind = name_of(type_name)
        kind = TYPES.get(int(kind), kind) if kind.isdigit() else kind
        for name, name_dir in entries(type_dir & 0x7FFFFFFF):
            for _, leaf in entries(name_dir & 0x7FFFFFFF):
                data_rva, size = struct.unpack_from("<II", data, base + leaf)
                if data_rva + rva_to_offset + size > len(data):
                    sys.exit(f"{path}: resource {kind} {name_of(name)} lies outside the file")
                print(kind, name_of(name), size)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
