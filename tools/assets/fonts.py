"""The TrueType faces the art is drawn with (Debian's fonts-dejavu-core)."""

import os

from PIL import ImageFont

FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def face(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)
