"""Uncompressed 8-bit paletted BMP files, bottom-up, as GDI and the software backend read them."""

import struct


def encode_bmp8(image):
    """image: a PIL image in mode 'P' with a palette of up to 256 colours. Returns the file bytes."""
    assert image.mode == "P"
    width, height = image.size
    palette = image.getpalette()[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    stride = (width + 3) & ~3
    pixels = image.tobytes()
    rows = []
    for y in range(height - 1, -1, -1):
        row = pixels[y * width : (y + 1) * width]
        rows.append(row + b"\0" * (stride - width))
    bits = b"".join(rows)
    colours = b"".join(bytes((palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0)) for i in range(256))
    offset = 14 + 40 + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(bits), 2835, 2835, 256, 0)
    return file_header + info_header + colours + bits
