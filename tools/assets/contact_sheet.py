"""docs/assets.png: every picture of the intro on one sheet, for the README."""

from PIL import Image, ImageDraw

from fonts import face

BACKGROUND = (48, 48, 56)
LABEL = (220, 220, 230)


def make_contact_sheet(images, icons):
    label_font = face("DejaVuSans.ttf", 12)
    margin, gap = 12, 22
    logo = images["logo.bmp"].convert("RGB")
    font = images["font.bmp"].convert("RGB").resize((640, 400), Image.NEAREST)
    credits = [images[f"credit{i}.bmp"].convert("RGB") for i in range(1, 5)]
    credits = [c.resize((c.width * 2, c.height * 2), Image.NEAREST) for c in credits]
    width = margin * 2 + max([640] + [c.width for c in credits])
    height = margin + gap + 480 + gap + 400 + sum(gap + c.height for c in credits) + gap + 64 + margin
    sheet = Image.new("RGB", (width, height), BACKGROUND)
    draw = ImageDraw.Draw(sheet)
    y = margin

    def place(title, picture, x=margin):
        nonlocal y
        draw.text((x, y + 3), title, font=label_font, fill=LABEL)
        y += gap
        sheet.paste(picture, (x, y))
        y += picture.height

    place("bitmap 101: logo, 640x480 (black band rows 226-394 is transparent)", logo)
    place("bitmap 102: font, 320x200 (shown at 2x)", font)
    for i, c in enumerate(credits, 1):
        number = {1: 106, 2: 103, 3: 104, 4: 105}[i]
        place(f"bitmap {number}: credit line {i}, {c.width // 2}x20 (shown at 2x)", c)
    draw.text((margin, y + 3), "icon 107: 16x16, 32x32 (shown at 2x)", font=label_font, fill=LABEL)
    y += gap
    x = margin
    for icon in icons:
        big = icon.resize((icon.width * 2, icon.height * 2), Image.NEAREST)
        sheet.paste(big, (x, y), big)
        x += big.width + 16
    return sheet
