#!/usr/bin/python3
"""Writes the bitmaps the painting tests load, next to this script.

Every pixel names where it comes from: red = its x, green = its y and blue
a tag per bitmap, so a composed button tells which source pixel landed on
each of its pixels. Run: /usr/bin/python3 tests/toolkit/art/make_test_art.py
"""

import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))

# name: (width, height, blue tag); the tags are mirrored in test_art.h.
BITMAPS = {
    "framed.bmp": (37, 148, 200),    # framed skin, four 37 x 37 cells
    "strip35.bmp": (35, 140, 150),   # strip skin for 35 x 35
    "strip100.bmp": (100, 120, 160),  # strip skin for 100 x 30
    "icon1.bmp": (10, 12, 101),      # state height 3
    "icon2.bmp": (10, 16, 102),      # state height 4
}


def main():
    for name, (w, h, tag) in BITMAPS.items():
        img = Image.new("RGB", (w, h))
        img.putdata([(x, y, tag) for y in range(h) for x in range(w)])
        img.save(os.path.join(HERE, name))


if __name__ == "__main__":
    main()
