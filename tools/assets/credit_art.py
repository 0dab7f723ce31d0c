"""Bitmaps 103 to 106: the credit lines, 20 pixels high on black, at the widths the scene draws them."""

from PIL import Image, ImageDraw, ImageFilter

from fonts import face
from indexed import to_indexed

HEIGHT = 20
OUTLINE = (20, 14, 44)

# (bitmap number, width, text). Credit line 1 is bitmap 106; lines 2 to 4 are 103 to 105.
CREDITS = [
    (106, 306, "CODE BY QUORVAN CODERS"),
    (103, 204, "MUSIC BY QUORVAN"),
    (104, 179, "GFX BY QUORVAN"),
    (105, 356, "GREETINGS TO EVERY SCENER"),
]

# The logo's chrome: sky blue above a white horizon, gold below it.
CHROME = [(0.0, (110, 150, 255)), (0.45, (235, 245, 255)), (0.5, (150, 80, 50)), (0.75, (240, 160, 60)),
          (1.0, (255, 230, 140))]


def _chrome(t):
    for (t0, c0), (t1, c1) in zip(CHROME, CHROME[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0)
            return tuple(int(round(c0[i] + (c1[i] - c0[i]) * f)) for i in range(3))
    return CHROME[-1][1]


def _line_art(width, text):
    font = face("DejaVuSans-Bold.ttf", 14)
    mask = Image.new("L", (width, HEIGHT), 0)
    ImageDraw.Draw(mask).text((width // 2, HEIGHT // 2), text, font=font, fill=255, anchor="mm")
    mask = mask.point(lambda v: 255 if v >= 110 else 0)
    box = mask.getbbox()
    assert box[0] >= 1 and box[2] <= width - 1, f"{text!r} does not fit in {width} pixels"
    outline = mask.filter(ImageFilter.MaxFilter(3))
    art = Image.new("RGB", (width, HEIGHT), (0, 0, 0))
    px, m, o = art.load(), mask.load(), outline.load()
    top, bottom = box[1], box[3] - 1
    for y in range(HEIGHT):
        t = min(max((y - top) / max(bottom - top, 1), 0.0), 1.0)
        colour = _chrome(t)
        for x in range(width):
            if m[x, y]:
                px[x, y] = colour
            elif o[x, y]:
                px[x, y] = OUTLINE
    return art


def make_credits():
    """Returns {bitmap number: paletted image}."""
    return {number: to_indexed(_line_art(width, text)) for number, width, text in CREDITS}
