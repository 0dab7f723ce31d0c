"""Bitmap 102: the scroller's font, 320x200, a 16 x 6 grid of 18x18 cells for codes 32 to 127.

Grid lines sit at x = 0, 19, ... 304 and y = 0, 19, ... 114; the cell of column c and row r starts at
(1 + 19c, 1 + 19r) and holds code 32 + 16r + c. Glyphs stay inside the cell's first 17x17 pixels on a
black (transparent) background: a dark outline around a copper gradient with a light top edge.
Capitals and digits stand 14 pixels tall on a common baseline.
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


BASELINE = 15  # the glyph body fills rows 1 to 15, the outline takes row 0 or 16 where needed
BODY = 15       # body width and height: a pixel of outline all round fits in 17


def _glyph_mask(char, font):
    """The glyph's body as a 17x17 binary mask: on a common baseline, squeezed where it would not
    fit (wide letters, descenders, brackets), with a free pixel all round for the outline."""
    size = GLYPH * 6
    big = Image.new("L", (size, size), 0)
    origin = (size // 4, size * 2 // 3)
    ImageDraw.Draw(big).text(origin, char, font=font, fill=255, anchor="ls")
    box = big.getbbox()
    mask = Image.new("L", (GLYPH, GLYPH), 0)
    if box is None:
        return mask
    glyph = big.crop(box)
    top = BASELINE + (box[1] - origin[1])  # where the glyph's top lands in the cell
    bottom = BASELINE + (box[3] - origin[1])
    w, h = glyph.size
    if top < 1 or bottom > BASELINE + 1:
        top, bottom = max(top, 1), min(bottom, BASELINE + 1)
        if bottom - top < h:  # move it in before squeezing it
            top = max(1, min(top, BASELINE + 1 - h))
            bottom = min(BASELINE + 1, top + h)
        h = bottom - top
    w = min(w, BODY)
    if (w, h) != glyph.size:
        glyph = glyph.resize((w, h), Image.LANCZOS)
    mask.paste(glyph, (1 + (BODY - w) // 2, top))
    return mask.point(lambda v: 255 if v >= 100 else 0)


def _special_mask(code):
    mask = Image.new("L", (GLYPH, GLYPH), 0)
    if code == 127:  # a little diamond, the group's mark
        ImageDraw.Draw(mask).polygon([(8, 2), (14, 8), (8, 14), (2, 8)], fill=255)
    return mask


def _render_glyph(mask):
    outline = mask.filter(ImageFilter.MaxFilter(3))
    glyph = Image.new("RGB", (GLYPH, GLYPH), (0, 0, 0))
    if mask.getbbox() is None:
        return glyph
    m, o = mask.load(), outline.load()
    px = glyph.load()
    for y in range(GLYPH):
        for x in range(GLYPH):
            if m[x, y]:
                t = (y - 1) / (BASELINE - 1)  # the same colours on the same rows in every glyph
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
    font = face("DejaVuSans-Bold.ttf", 19)
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
