"""Icon group 107: the group's mark at 16x16 and 32x32."""

from PIL import Image, ImageDraw


def _icon(size):
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    s = size / 32.0
    draw.ellipse([2 * s, 2 * s, 29 * s, 29 * s], fill=(255, 180, 40, 255), outline=(60, 20, 90, 255))
    return image


def make_icon_images():
    return [_icon(16), _icon(32)]
