"""Bitmap 102: the scroller's font, 320x200, a 16 x 6 grid of 18x18 cells for codes 32 to 127.

Grid lines sit at x = 0, 19, ... 304 and y = 0, 19, ... 114; the cell of column c and row r starts at
(1 + 19c, 1 + 19r) and holds code 32 + 16r + c. Glyphs stay inside the cell's first 17x17 pixels on a
black (transparent) background: a dark outline around a copper gradient with a light top edge.
"""

from PIL import Image, ImageDraw, ImageFilter

from fonts import face
from indexed import to_indexed

WIDTH, HEIGHT = 320, 200
CELL, STRIDE, COLUMNS, ROWS = 18, 19, 16, 6
GLYPH = 17
GRID_COLOUR = (40, 44, 92)
OUTLINE = (22, 12, 40)

# Top to bottom colours of a glyph's body.
GRADIENT = [(255, 255, 230), (255, 236, 120), (255, 196, 40), (250, 140, 20), (230, 80, 30),
            (200, 40, 70), (150, 30, 110)]


def _gradient_colour(t):
    t = min(max(t, 0.0), 1.0) * (len(GRADIENT) - 1)
    i = min(int(t), len(GRADIENT) - 2)
    f = t - i
    a, b = GRADIENT[i], GRADIENT[i + 1]
    return tuple(int(round(a[k] + (b[k] - a[k]) * f)) for k in range(3))


def _glyph_mask(char, font):
    """The glyph's body as a 17x17 binary mask with a free pixel all round for the outline."""
    big = Image.new("L", (GLYPH * 4, GLYPH * 4), 0)
    ImageDraw.Draw(big).text((GLYPH * 2, GLYPH * 2), char, font=font, fill=255, anchor="mm")
    box = big.getbbox()
    mask = Image.new("L", (GLYPH, GLYPH), 0)
    if box is None:
        return mask
    left, top, right, bottom = box
    w, h = right - left, bottom - top
    # Centre horizontally; keep the font's own baseline so that letters line up.
    x = (GLYPH - w) // 2
    y = top - (GLYPH * 2 - 8)
    y = min(max(y, 1), GLYPH - 1 - h)
    mask.paste(big.crop(box), (max(x, 1), y))
    return mask.point(lambda v: 255 if v >= 110 else 0)


def _special_mask(code):
    mask = Image.new("L", (GLYPH, GLYPH), 0)
    if code == 127:  # a little diamond, the group's mark
        ImageDraw.Draw(mask).polygon([(8, 2), (14, 8), (8, 14), (2, 8)], fill=255)
    return mask


def _render_glyph(mask):
    outline = mask.filter(ImageFilter.MaxFilter(3))
    glyph = Image.new("RGB", (GLYPH, GLYPH), (0, 0, 0))
    box = mask.getbbox()
    if box is None:
        return glyph
    top, bottom = box[1], box[3] - 1
    m, o = mask.load(), outline.load()
    px = glyph.load()
    for y in range(GLYPH):
        for x in range(GLYPH):
            if m[x, y]:
                t = (y - top) / max(bottom - top, 1)
                colour = _gradient_colour(t)
                if y == 0 or not m[x, y - 1]:  # light top edge
                    colour = tuple(min(255, c + 60) for c in colour)
                elif y + 1 < GLYPH and not m[x, y + 1]:  # shaded bottom edge
                    colour = tuple(c * 3 // 4 for c in colour)
                px[x, y] = colour
            elif o[x, y]:
                px[x, y] = OUTLINE
    return glyph


def make_font():
    font = face("DejaVuSans-Bold.ttf", 15)
    art = Image.new("RGB", (WIDTH, HEIGHT), (0, 0, 0))
    draw = ImageDraw.Draw(art)
    for i in range(COLUMNS + 1):
        draw.line([(i * STRIDE, 0), (i * STRIDE, ROWS * STRIDE)], fill=GRID_COLOUR)
    for j in range(ROWS + 1):
        draw.line([(0, j * STRIDE), (COLUMNS * STRIDE, j * STRIDE)], fill=GRID_COLOUR)
    for r in range(ROWS):
        for c in range(COLUMNS):
            code = 32 + 16 * r + c
            mask = _glyph_mask(chr(code), font) if 32 < code < 127 else _special_mask(code)
            art.paste(_render_glyph(mask), (1 + STRIDE * c, 1 + STRIDE * r))
    return to_indexed(art)
