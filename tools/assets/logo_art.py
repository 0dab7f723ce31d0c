"""Bitmap 101: the logo picture, 640x480.

Rows 226 to 394 are pure black: the transparent band through which the stars, the scroller and the
credit lines show. Above it the group's name in slanted chrome letters with a bevel, a dark outline,
a drop shadow and a few glints, over a dusky sky with a copper bar; below it a second copper bar
and a chequered floor running to the horizon. Nothing outside the band is pure black.
"""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter

from indexed import to_indexed
from logo_letters import LETTERS

WIDTH, HEIGHT = 640, 480
BAND_TOP, BAND_BOTTOM = 226, 394

NAME = "QUORVAN"
SCALE_X, SCALE_Y = 0.66, 0.94  # design box 100 x 140 to pixels
SLANT = 0.2  # rightward lean per pixel of height
GAP = 10
LETTER_TOP = 34

# Chrome: sky above a bright horizon, earth below it (top to bottom of the letters).
CHROME = [(0.00, (30, 36, 120)), (0.20, (70, 110, 220)), (0.42, (190, 225, 255)), (0.50, (255, 255, 255)),
          (0.505, (70, 36, 40)), (0.60, (150, 70, 40)), (0.80, (240, 160, 60)), (1.00, (255, 236, 150))]
OUTLINE = (18, 10, 34)
RIM = (150, 110, 255)


def _lerp(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def _ramp(stops, t):
    t = min(max(t, 0.0), 1.0)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return _lerp(c0, c1, (t - t0) / (t1 - t0) if t1 > t0 else 0.0)
    return stops[-1][1]


def _clamp(c):
    return tuple(max(0, min(255, int(round(v)))) for v in c)


def band_mask():
    mask = Image.new("L", (WIDTH, HEIGHT), 0)
    ImageDraw.Draw(mask).rectangle([0, BAND_TOP, WIDTH - 1, BAND_BOTTOM], fill=255)
    return mask


def _letters_mask():
    """The name as a binary mask, 4x supersampled and brought down for smooth edges."""
    ss = 4
    letter_w = 100 * SCALE_X
    letter_h = 140 * SCALE_Y
    total = len(NAME) * letter_w + (len(NAME) - 1) * GAP + SLANT * letter_h
    left = (WIDTH - total) / 2
    big = Image.new("L", (WIDTH * ss, HEIGHT * ss), 0)
    draw = ImageDraw.Draw(big)

    def place(points, x0):
        out = []
        for x, y in points:
            py = LETTER_TOP + y * SCALE_Y
            px = x0 + x * SCALE_X + SLANT * (LETTER_TOP + letter_h - py)
            out.append((px * ss, py * ss))
        return out

    for i, ch in enumerate(NAME):
        outers, holes = LETTERS[ch]
        x0 = left + i * (letter_w + GAP)
        for poly in outers:
            draw.polygon(place(poly, x0), fill=255)
        for poly in holes:
            draw.polygon(place(poly, x0), fill=0)
    small = big.resize((WIDTH, HEIGHT), Image.BOX)
    return small.point(lambda v: 255 if v >= 128 else 0), LETTER_TOP, LETTER_TOP + letter_h


DEPTH_UNIT = 40


def _depth(mask, steps):
    """How far inside the letters each pixel is, counted in erosions, 0..steps."""
    depth = Image.new("L", mask.size, 0)
    m = mask
    for _ in range(steps):
        depth = ImageChops.add(depth, m.point(lambda v: DEPTH_UNIT if v else 0))
        m = m.filter(ImageFilter.MinFilter(3))
    # Softened, so that the bevel reads as a rounded edge and not as steps.
    return ImageChops.multiply(depth.filter(ImageFilter.GaussianBlur(1.2)), mask)


def _sky(y):
    top = _ramp([(0.0, (16, 12, 44)), (0.6, (34, 16, 70)), (1.0, (70, 24, 90))], y / BAND_TOP)
    return top


def _background(art):
    px = art.load()
    for y in range(BAND_TOP):
        base = _sky(y)
        for x in range(WIDTH):
            shade = 0.92 if (x + y) % 6 < 3 and y % 2 == 0 else 1.0  # fine diagonal weave
            px[x, y] = _clamp(tuple(c * shade for c in base))
    # Faint fixed stars in the sky.
    state = 2024
    for _ in range(140):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        x = state % WIDTH
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        y = state % (BAND_TOP - 30)
        bright = 90 + (state >> 8) % 120
        px[x, y] = _clamp(_lerp(px[x, y], (bright, bright, min(255, bright + 40)), 0.8))


def _copper_bar(art, top, height, hue):
    """A glossy horizontal bar: dark at its edges, bright in the middle, a white glint line."""
    px = art.load()
    for i in range(height):
        t = (i + 0.5) / height
        light = math.sin(math.pi * t) ** 0.8
        colour = _lerp((16, 10, 40), hue, light)
        if abs(t - 0.35) < 0.5 / height + 1e-9:
            colour = _lerp(colour, (255, 255, 255), 0.6)
        for x in range(WIDTH):
            edge = min(x, WIDTH - 1 - x) / 80.0
            k = 0.55 + 0.45 * min(edge, 1.0)
            px[x, top + i] = _clamp(tuple(c * k for c in colour))


def _floor(art, top):
    """A chequered floor seen in perspective, fading into the haze at the horizon."""
    px = art.load()
    horizon = top - 40  # the vanishing line lies above the visible floor
    cx = WIDTH / 2
    for y in range(top, HEIGHT):
        dist = 1.0 / (y - horizon)
        z = dist * 16000.0
        haze = min(1.0, (y - top) / (HEIGHT - top) * 1.3)
        for x in range(WIDTH):
            u = (x - cx) * dist * 90.0
            cell = (int(math.floor(u / 40.0)) + int(math.floor(z / 40.0))) & 1
            a = (120, 40, 150) if cell else (40, 20, 90)
            c = _lerp((60, 24, 90), a, haze)
            # Lines between the tiles glow.
            fu, fz = (u / 40.0) % 1.0, (z / 40.0) % 1.0
            if min(fu, 1 - fu) < 0.04 + 0.02 * (1 - haze) or min(fz, 1 - fz) < 0.05:
                c = _lerp(c, (255, 120, 220), 0.55 * haze + 0.2)
            px[x, y] = _clamp(c)


def _glint(art, x, y, size):
    px = art.load()
    for d in range(-size, size + 1):
        for (gx, gy) in ((x + d, y), (x, y + d)):
            if 0 <= gx < WIDTH and 0 <= gy < BAND_TOP:
                k = (1 - abs(d) / (size + 1)) ** 2
                px[gx, gy] = _clamp(_lerp(px[gx, gy], (255, 255, 255), k))
    for d in range(-size // 3, size // 3 + 1):
        for (gx, gy) in ((x + d, y + d), (x + d, y - d)):
            if 0 <= gx < WIDTH and 0 <= gy < BAND_TOP:
                k = (1 - abs(d) / (size // 3 + 1)) * 0.7
                px[gx, gy] = _clamp(_lerp(px[gx, gy], (255, 255, 230), k))


def _letters(art):
    mask, top, bottom = _letters_mask()
    # Drop shadow, down and to the right.
    shadow = ImageChops.offset(mask, 7, 8).filter(ImageFilter.GaussianBlur(3))
    apx, spx = art.load(), shadow.load()
    for y in range(BAND_TOP):
        for x in range(WIDTH):
            s = spx[x, y]
            if s:
                apx[x, y] = _clamp(_lerp(apx[x, y], (8, 6, 20), 0.75 * s / 255))
    # Outline: two dark pixels round the letters and a thin light rim outside that.
    outline = mask.filter(ImageFilter.MaxFilter(5))
    rim = outline.filter(ImageFilter.MaxFilter(3))
    depth = _depth(mask, 6)
    m, o, r, d = mask.load(), outline.load(), rim.load(), depth.load()
    lx, ly, lz = -0.55, -0.65, 0.52
    for y in range(BAND_TOP):
        for x in range(1, WIDTH - 1):
            if m[x, y]:
                t = (y - top) / (bottom - top)
                # Bent slightly by the slant so the horizon follows the letters.
                base = _ramp(CHROME, t + 0.04 * math.sin(x / 37.0))
                nx = (d[x + 1, y] - d[x - 1, y]) / (2.0 * DEPTH_UNIT)
                ny = (d[x, y + 1] - d[x, y - 1]) / (2.0 * DEPTH_UNIT) if 0 < y < BAND_TOP - 1 else 0.0
                nz = 1.0
                n = math.sqrt(nx * nx + ny * ny + nz * nz)
                lambert = -(nx * lx + ny * ly) / n + nz * lz / n
                edge = d[x, y] < 6 * DEPTH_UNIT - 2
                if edge:
                    shade = 0.35 + 0.9 * max(lambert, 0.0)
                    colour = tuple(c * shade for c in base)
                    if lambert > 0.75:
                        colour = _lerp(colour, (255, 255, 255), (lambert - 0.75) * 2.5)
                else:
                    colour = base
                apx[x, y] = _clamp(colour)
            elif o[x, y]:
                apx[x, y] = OUTLINE
            elif r[x, y]:
                apx[x, y] = _clamp(_lerp(apx[x, y], RIM, 0.6))
    # Glints on a few upper-left corners.
    letter_w = 100 * SCALE_X
    total = len(NAME) * letter_w + (len(NAME) - 1) * GAP + SLANT * (bottom - top)
    left = (WIDTH - total) / 2
    for i, size in ((0, 9), (3, 7), (6, 11)):
        gx = int(left + i * (letter_w + GAP) + SLANT * (bottom - top) + 6)
        _glint(art, gx, int(top + 4), size)


def make_logo():
    art = Image.new("RGB", (WIDTH, HEIGHT), (10, 10, 22))
    _background(art)
    _letters(art)
    _copper_bar(art, 198, 22, (255, 150, 60))
    px = art.load()
    for y in range(BAND_BOTTOM + 1, HEIGHT):
        for x in range(WIDTH):
            px[x, y] = (26, 14, 50)
    _copper_bar(art, BAND_BOTTOM + 4, 18, (80, 200, 255))
    _floor(art, BAND_BOTTOM + 24)
    return to_indexed(art, band_mask())
