#!/usr/bin/python3
"""Draws the gallery's artwork, next to this script.

Run: /usr/bin/python3 examples/gallery/res/draw_gallery_art.py
  framed.bmp      37 x 148 framed skin: four 37 x 37 cells (normal, hover,
                  pressed, disabled), rounded frame, flat centre
  strip.bmp       120 x 112 strip skin: four 120 x 28 states
  icon_dot.bmp    12 x 48 icon strip: a hollow ring, four 12 x 12 states
  icon_check.bmp  12 x 48 icon strip: a tick, four states
Nothing random and no timestamps: two runs give identical bytes.
"""

import os

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))

# Per state: frame, face, mark.
STATES = [
    ((58, 64, 74), (92, 100, 114), (214, 218, 224)),     # normal
    ((58, 64, 74), (118, 128, 146), (255, 255, 255)),    # hover
    ((30, 34, 40), (62, 68, 80), (190, 196, 204)),       # pressed
    ((120, 122, 126), (160, 162, 166), (128, 130, 134)),  # disabled
]
ACCENT = [(62, 194, 206), (96, 220, 230), (40, 150, 160), (150, 152, 156)]


def framed():
    img = Image.new("RGB", (37, 148))
    d = ImageDraw.Draw(img)
    for i, (frame, face, _) in enumerate(STATES):
        top = 37 * i
        d.rectangle([0, top, 36, top + 36], fill=(0, 0, 0))
        d.rounded_rectangle([0, top, 36, top + 36], radius=7, fill=frame)
        d.rounded_rectangle([2, top + 2, 34, top + 34], radius=5, fill=face)
        # A light top rim and dark bottom rim, so the edges read as a bevel.
        d.line([6, top + 2, 30, top + 2], fill=tuple(min(255, c + 40) for c in face))
        d.line([6, top + 34, 30, top + 34], fill=tuple(max(0, c - 30) for c in face))
    return img


def strip():
    w, h = 120, 28
    img = Image.new("RGB", (w, 4 * h))
    d = ImageDraw.Draw(img)
    for i, (frame, face, _) in enumerate(STATES):
        top = h * i
        d.rectangle([0, top, w - 1, top + h - 1], fill=frame)
        d.rectangle([1, top + 1, w - 2, top + h - 2], fill=face)
        d.rectangle([1, top + h - 4, w - 2, top + h - 2], fill=ACCENT[i])
    return img


def icon(draw_mark):
    img = Image.new("RGB", (12, 48))
    d = ImageDraw.Draw(img)
    for i, (_, face, mark) in enumerate(STATES):
        top = 12 * i
        d.rectangle([0, top, 11, top + 11], fill=face)
        draw_mark(d, top, mark)
    return img


def ring(d, top, mark):
    d.ellipse([2, top + 2, 9, top + 9], outline=mark, width=2)


def tick(d, top, mark):
    d.line([2, top + 6, 5, top + 9, 10, top + 2], fill=mark, width=2)


def main():
    framed().save(os.path.join(HERE, "framed.bmp"))
    strip().save(os.path.join(HERE, "strip.bmp"))
    icon(ring).save(os.path.join(HERE, "icon_dot.bmp"))
    icon(tick).save(os.path.join(HERE, "icon_check.bmp"))


if __name__ == "__main__":
    main()
