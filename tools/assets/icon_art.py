"""Icon group 107: the logo's chrome Q on a dark tile, at 16x16 and 32x32."""

from PIL import Image, ImageDraw, ImageFilter

from logo_letters import LETTERS

TOP, HORIZON, BOTTOM = (90, 130, 240), (255, 255, 255), (240, 150, 50)


def _icon(size):
    ss = 8
    big = size * ss
    tile = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    ImageDraw.Draw(tile).rounded_rectangle([0, 0, big - 1, big - 1], radius=big // 6, fill=(30, 16, 60, 255),
                                           outline=(150, 110, 255, 255), width=max(ss, big // 24))
    mask = Image.new("L", (big, big), 0)
    draw = ImageDraw.Draw(mask)
    margin = big * 0.16
    scale = (big - 2 * margin) / 150.0
    outers, holes = LETTERS["Q"]
    for polys, fill in ((outers, 255), (holes, 0)):
        for poly in polys:
            draw.polygon([(margin + 8 * scale + x * scale, margin + y * scale) for x, y in poly], fill=fill)
    gradient = Image.new("RGBA", (big, big))
    gpx = gradient.load()
    for y in range(big):
        t = y / big
        a, b, f = (TOP, HORIZON, t / 0.5) if t < 0.5 else (BOTTOM, BOTTOM, 0.0)
        colour = tuple(int(a[i] + (b[i] - a[i]) * f) for i in range(3)) + (255,)
        for x in range(big):
            gpx[x, y] = colour
    outline = mask.filter(ImageFilter.MaxFilter(2 * ss + 1))
    tile.paste((12, 6, 26, 255), (0, 0), outline)
    tile.paste(gradient, (0, 0), mask)
    return tile.resize((size, size), Image.LANCZOS)


def make_icon_images():
    return [_icon(16), _icon(32)]
