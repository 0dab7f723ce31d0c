#!/usr/bin/env python3
"""Converts an X window dump of a 24/32-bit screen (as xwd writes it) to PNG and prints how many
different colours it holds."""
import struct
import sys

from PIL import Image


def main():
    source, target = sys.argv[1], sys.argv[2]
    data = open(source, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel != 32:
        sys.exit(f"xwd_to_png: {bits_per_pixel} bits per pixel, 32 expected")
    start = header_size + 12 * ncolors
    raw = data[start:start + bytes_per_line * height]
    mode = "BGRX" if byte_order == 0 else "XRGB"
    image = Image.frombytes("RGB", (width, height), raw, "raw", mode, bytes_per_line)
    image.save(target)
    print(len(image.getcolors(maxcolors=1 << 24)))


main()
