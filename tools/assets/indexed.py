"""Turning RGB art into 8-bit paletted pictures whose only transparent colour is pure black.

Palette index 0 is pure black and is given only to pixels that are meant to be transparent. Every
other entry survives the 5-6-5 conversion of the 16-bit screen as a non-zero pixel, so dark art
never turns transparent by accident.
"""

from PIL import Image, ImageChops

# The darkest colour the art may use: 5-6-5 (1, 2, 2) after truncation.
NEAR_BLACK = (10, 10, 22)


def survives_565(rgb):
    r, g, b = rgb
    return (r >> 3) | (g >> 2) | (b >> 3) != 0


def safe_colour(rgb):
    return rgb if survives_565(rgb) else NEAR_BLACK


def black_mask(rgb_image):
    """A mode 'L' mask, 255 where the RGB pixel is exactly (0, 0, 0)."""
    r, g, b = rgb_image.split()
    brightest = ImageChops.lighter(ImageChops.lighter(r, g), b)
    return brightest.point(lambda v: 255 if v == 0 else 0)


def to_indexed(rgb_image, transparent_mask=None):
    """Quantises the art to 255 colours in entries 1..255; pixels under the mask get entry 0.

    Without a mask, the exactly black pixels of the art are the transparent ones.
    """
    rgb_image = rgb_image.convert("RGB")
    if transparent_mask is None:
        transparent_mask = black_mask(rgb_image)
    quantised = rgb_image.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quantised.getpalette()[: 255 * 3]
    palette += [0] * (255 * 3 - len(palette))
    colours = [safe_colour(tuple(palette[3 * i : 3 * i + 3])) for i in range(255)]
    shifted = Image.frombytes("L", rgb_image.size, quantised.tobytes()).point(lambda i: min(i + 1, 255))
    zero = Image.new("L", rgb_image.size, 0)
    indices = Image.composite(zero, shifted, transparent_mask)
    out = Image.frombytes("P", rgb_image.size, indices.tobytes())
    flat = [0, 0, 0]
    for c in colours:
        flat.extend(c)
    out.putpalette(flat)
    return out
