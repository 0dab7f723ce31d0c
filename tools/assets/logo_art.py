"""Bitmap 101: the logo picture, 640x480, with rows 226 to 394 pure black (the transparent band)."""

from PIL import Image, ImageDraw

from fonts import face
from indexed import to_indexed

WIDTH, HEIGHT = 640, 480
BAND_TOP, BAND_BOTTOM = 226, 394


def band_mask():
    mask = Image.new("L", (WIDTH, HEIGHT), 0)
    ImageDraw.Draw(mask).rectangle([0, BAND_TOP, WIDTH - 1, BAND_BOTTOM], fill=255)
    return mask


def make_logo():
    art = Image.new("RGB", (WIDTH, HEIGHT), (12, 10, 30))
    draw = ImageDraw.Draw(art)
    draw.text((WIDTH // 2, 110), "QUORVAN", font=face("DejaVuSans-Bold.ttf", 96), fill=(255, 200, 60),
              anchor="mm")
    return to_indexed(art, band_mask())
