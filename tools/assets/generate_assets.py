#!/usr/bin/env python3
"""Makes every resource of the intro into OUTDIR (resources/ in the repository).

    python3 tools/assets/generate_assets.py OUTDIR [--sheet docs/assets.png]

Deterministic: the same bytes on every run, which a test checks against the committed files.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from bmp_file import encode_bmp8  # noqa: E402
from credit_art import make_credits  # noqa: E402
from font_art import make_font  # noqa: E402
from ico_file import encode_ico  # noqa: E402
from icon_art import make_icon_images  # noqa: E402
from logo_art import make_logo  # noqa: E402
from resource_script import make_resource_script  # noqa: E402
from scroll_text import make_scroll_text  # noqa: E402
from track import make_track  # noqa: E402

CREDIT_FILES = {106: "credit1.bmp", 103: "credit2.bmp", 104: "credit3.bmp", 105: "credit4.bmp"}


def make_all():
    """Returns ({file name: bytes}, {file name: image}) for every resource."""
    images = {"logo.bmp": make_logo(), "font.bmp": make_font()}
    for number, image in make_credits().items():
        images[CREDIT_FILES[number]] = image
    files = {name: encode_bmp8(image) for name, image in images.items()}
    icons = make_icon_images()
    files["intro.ico"] = encode_ico(icons)
    text = make_scroll_text()
    files["scrolltext.txt"] = text
    files["intro.rc"] = make_resource_script(text.decode("ascii"))
    files["track.xm"] = make_track()
    return files, images, icons


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("outdir")
    parser.add_argument("--sheet", help="also write a contact sheet PNG of all pictures here")
    args = parser.parse_args()
    files, images, icons = make_all()
    os.makedirs(args.outdir, exist_ok=True)
    for name, data in sorted(files.items()):
        with open(os.path.join(args.outdir, name), "wb") as f:
            f.write(data)
    if args.sheet:
        from contact_sheet import make_contact_sheet

        make_contact_sheet(images, icons).save(args.sheet, optimize=False)
    return 0


if __name__ == "__main__":
    sys.exit(main())
