#!/usr/bin/python3
"""Draws the gadget's artwork and prepares its typeface.

Run by hand from anywhere: /usr/bin/python3 res/draw_artwork.py [OUTDIR]
Writes, next to this script unless OUTDIR is given:
  background.bmp   349 x 366 window face
  close.bmp        35 x 140 button strip (normal, hover, pressed, disabled)
  donate.bmp       35 x 140 button strip
  app.ico          16..256 px, 32-bit with alpha
  BebasNeue-Regular.ttf  the Debian OTF with its outlines converted to glyf
  OFL.txt          the typeface's copyright notice and licence

Everything is seeded and timestamp-free, so two runs give identical bytes.
The drawing code paints numbers and bars onto fixed places of the
background; the coordinates below are those places and must not move.
"""

import io
import math
import os
import random
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OTF = "/usr/share/fonts/opentype/bebas-neue/BebasNeue-Regular.otf"
OTF_COPYRIGHT = "/usr/share/doc/fonts-bebas-neue/copyright"

W, H = 349, 366

# Palette.
FRAME = (33, 40, 50)
FRAME_LIGHT = (108, 113, 124)
FIELD = (80, 86, 99)            # texture centre, varies by +-2
LINE = (138, 142, 151)
TITLE = (195, 197, 202)
MAKER = (121, 127, 139)
LABEL = (168, 172, 180)
GLYPH = (136, 140, 148)
TILE = (66, 73, 83)
GLYPH_HOVER = (191, 193, 196)
GLYPH_PRESSED = (128, 133, 140)

# Geometry shared with the painting code.
CLOSE_SQ = (295, 16)
DONATE_SQ = (257, 16)
BTN = 35
SEP_Y = 66
LINE_X0, LINE_X1 = 19, 329
CHIPS = (((73, 100), "CPU"), ((196, 100), "RAM"))
CHIP = 80                       # outline spans 80 px, corners inclusive
LABEL_TOP = 113                 # label rows 113..126
PIN_ROWS = (118, 139, 160)
GRID_Y = (213, 238, 263, 288, 313)
GRID_X = tuple(19 + 31 * j for j in range(11))

SS = 8                          # supersampling for vector shapes


# ---------------------------------------------------------------- helpers

def blend(base, colour, mask):
    """Paints colour over base wherever mask (L) is non-zero."""
    solid = Image.new("RGB", base.size, colour)
    base.paste(Image.composite(solid, base, mask), (0, 0))


def shape_mask(size, draw_fn):
    """Renders a vector shape at SS x and boxes it down for clean edges."""
    big = Image.new("L", (size[0] * SS, size[1] * SS), 0)
    draw_fn(ImageDraw.Draw(big), SS)
    return big.resize(size, Image.BOX)


def font(px):
    return ImageFont.truetype(OTF, px)


def text_mask(size, xy, text, px, tracking=0.0):
    """Hinted text with extra letter spacing, drawn glyph by glyph."""
    mask = Image.new("L", size, 0)
    d = ImageDraw.Draw(mask)
    f = font(px)
    x, y = xy
    for ch in text:
        d.text((round(x), y), ch, font=f, fill=255)
        x += f.getlength(ch) + tracking
    return mask


def text_width(text, px, tracking=0.0):
    f = font(px)
    return sum(f.getlength(c) for c in text) + tracking * (len(text) - 1)


# ---------------------------------------------------------------- texture

def field_texture(rng):
    """Slate with a faint horizontal grain and a gentle top-to-bottom falloff.

    Every pixel stays within +-2 of FIELD so the numbers drawn on it read the
    same everywhere.
    """
    # Grain: per-row random walk smoothed along x gives brushed streaks.
    rows = []
    for y in range(H):
        walk, row = 0.0, []
        for x in range(W):
            walk = walk * 0.92 + rng.gauss(0.0, 0.35)
            row.append(walk)
        rows.append(row)
    img = Image.new("RGB", (W, H))
    px = img.load()
    for y in range(H):
        slope = 0.9 - 1.8 * y / (H - 1)
        row = rows[y]
        for x in range(W):
            v = slope + row[x] + rng.gauss(0.0, 0.45)
            d = max(-2, min(2, int(round(v))))
            px[x, y] = (FIELD[0] + d, FIELD[1] + d, FIELD[2] + d)
    return img


# ---------------------------------------------------------------- glyphs

def heart(d, s, box):
    """Heart filling box (x0, y0, x1, y1) in pixel units, scaled by s."""
    x0, y0, x1, y1 = box
    pts = []
    for i in range(720):
        t = 2 * math.pi * i / 720
        hx = 16 * math.sin(t) ** 3
        hy = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((hx, -hy))
    minx = min(p[0] for p in pts); maxx = max(p[0] for p in pts)
    miny = min(p[1] for p in pts); maxy = max(p[1] for p in pts)
    sx = (x1 - x0) / (maxx - minx)
    sy = (y1 - y0) / (maxy - miny)
    d.polygon([((x0 + (px - minx) * sx) * s, (y0 + (py - miny) * sy) * s)
               for px, py in pts], fill=255)


def cross(d, s, box, stroke):
    """Diagonal cross with round ends inside box, stroke wide."""
    x0, y0, x1, y1 = box
    r = stroke / 2
    a = (x0 + r, y0 + r); b = (x1 - r, y1 - r)
    c = (x1 - r, y0 + r); e = (x0 + r, y1 - r)
    for p, q in ((a, b), (c, e)):
        d.line([(p[0] * s, p[1] * s), (q[0] * s, q[1] * s)], fill=255,
               width=int(round(stroke * s)))
        for (cx, cy) in (p, q):
            d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s, (cy + r) * s], fill=255)


def glyph_mask(kind, inset):
    """Button glyph in a 35 x 35 square: pixels 9..25, shrunk by inset per side."""
    lo, hi = 9 + inset, 26 - inset           # box edges in pixel units
    if kind == "heart":
        # The heart is a touch wider than tall; keep it optically centred.
        fn = lambda d, s: heart(d, s, (lo, lo + 0.5, hi, hi - 0.5))
    else:
        fn = lambda d, s: cross(d, s, (lo + 0.5, lo + 0.5, hi - 0.5, hi - 0.5),
                                3.0 - 0.5 * inset)
    return shape_mask((BTN, BTN), fn)


# ---------------------------------------------------------------- background

def draw_background():
    rng = random.Random(1234)
    img = field_texture(rng)

    # Bevel: faint light left edge, faint dark right and bottom edges.
    px = img.load()
    for y in range(2, H - 1):
        r, g, b = px[1, y]; px[1, y] = (r + 3, g + 3, b + 3)
        r, g, b = px[W - 2, y]; px[W - 2, y] = (r - 4, g - 4, b - 4)
    for x in range(2, W - 1):
        r, g, b = px[x, H - 2]; px[x, H - 2] = (r - 4, g - 4, b - 4)

    d = ImageDraw.Draw(img)
    d.rectangle([0, 0, W - 1, H - 1], outline=FRAME)
    d.line([(1, 1), (W - 2, 1)], fill=FRAME_LIGHT)

    # Maker and product name.
    blend(img, MAKER, text_mask((W, H), (19, 20), "QUORVANE", 13, tracking=2.2))
    name = "ZELVAQUINT"
    track = (91 - text_width(name, 20)) / (len(name) - 1)
    blend(img, TITLE, text_mask((W, H), (19, 34), name, 20, tracking=track))

    # Button glyphs, identical to the strips' normal state.
    for (sx, sy), kind in ((DONATE_SQ, "heart"), (CLOSE_SQ, "cross")):
        m = Image.new("L", (W, H), 0)
        m.paste(glyph_mask(kind, 0), (sx, sy))
        blend(img, GLYPH, m)

    # Separator with a one-pixel shadow that engraves it into the plate.
    shade = Image.new("L", (W, H), 0)
    ImageDraw.Draw(shade).line([(LINE_X0, SEP_Y + 1), (LINE_X1, SEP_Y + 1)], fill=110)
    blend(img, FRAME, shade)
    d.line([(LINE_X0, SEP_Y), (LINE_X1, SEP_Y)], fill=LINE)

    # Chips: watermark first so outline and label sit on top of it.
    f_mark = font(64)
    for (cx, cy), label in CHIPS:
        wm = Image.new("L", (W, H), 0)
        wd = ImageDraw.Draw(wm)
        l, t, r, b = f_mark.getbbox("%")
        # Centred in the reading area (cx+1..cx+79, cy+27..cy+79).
        gx = cx + 1 + (79 - (r - l)) / 2 - l
        gy = cy + 27 + (53 - (b - t)) / 2 - t
        wd.text((round(gx), round(gy)), "%", font=f_mark, fill=255)
        blend(img, (98, 104, 118), wm.point(lambda v: v * 30 // 100))

        x0, y0, x1, y1 = cx, cy, cx + CHIP - 1, cy + CHIP - 1
        d.rectangle([x0, y0, x1, y1], outline=LINE)
        # Pin-one dot in the top-left corner, above the reading area.
        dot = shape_mask((W, H), lambda dd, s, x=x0, y=y0: dd.ellipse(
            [(x + 6) * s, (y + 6) * s, (x + 10) * s, (y + 10) * s], fill=255))
        blend(img, LINE, dot)
        lw = text_width(label, 20, 1.0)
        blend(img, LABEL, text_mask((W, H), (round(x0 + (CHIP - lw) / 2), LABEL_TOP - 1),
                                    label, 20, tracking=1.0))
        # Pins: two pixels clear of the outline on both sides.
        for py in PIN_ROWS:
            d.rectangle([x0 - 8, py, x0 - 3, py + 1], fill=LINE)
            d.rectangle([x1 + 3, py, x1 + 8, py + 1], fill=LINE)

    # Chart grid.
    for y in GRID_Y:
        d.line([(GRID_X[0], y), (GRID_X[-1], y)], fill=LINE)
    for x in GRID_X:
        d.line([(x, GRID_Y[0]), (x, GRID_Y[-1])], fill=LINE)
    return img


# ---------------------------------------------------------------- buttons

def draw_strip(bg, square, kind):
    sx, sy = square
    normal = bg.crop((sx, sy, sx + BTN, sy + BTN))
    strip = Image.new("RGB", (BTN, 4 * BTN))
    strip.paste(normal, (0, 0))
    for i, (colour, inset) in enumerate(((GLYPH_HOVER, 0), (GLYPH_PRESSED, 0.5)), 1):
        tile = Image.new("RGB", (BTN, BTN), TILE)
        # Corners keep the plate so the tile looks slightly rounded.
        for cx, cy in ((0, 0), (BTN - 1, 0), (0, BTN - 1), (BTN - 1, BTN - 1)):
            tile.putpixel((cx, cy), normal.getpixel((cx, cy)))
        blend(tile, colour, glyph_mask(kind, inset))
        strip.paste(tile, (0, i * BTN))
    # Disabled looks like pressed.
    strip.paste(strip.crop((0, 2 * BTN, BTN, 3 * BTN)), (0, 3 * BTN))
    return strip


# ---------------------------------------------------------------- icon

def icon_image(n):
    """Dark slate rounded square with a white percent sign, n x n RGBA."""
    s = SS if n >= 64 else 16
    big_n = n * s
    u = big_n / 64.0                        # design grid of 64 units

    plate = Image.new("L", (big_n, big_n), 0)
    pd = ImageDraw.Draw(plate)
    m = 1.0 * u if n >= 32 else 0
    pd.rounded_rectangle([m, m, big_n - 1 - m, big_n - 1 - m], radius=12 * u, fill=255)

    # Vertical gradient for the plate, lighter at the top.
    grad = Image.new("RGB", (1, big_n))
    for y in range(big_n):
        t = y / (big_n - 1)
        grad.putpixel((0, y), tuple(int(round(a + (b - a) * t))
                                    for a, b in zip((84, 92, 108), (46, 53, 64))))
    grad = grad.resize((big_n, big_n))

    # Thin rim highlight along the top.
    rim = Image.new("L", (big_n, big_n), 0)
    rd = ImageDraw.Draw(rim)
    rd.rounded_rectangle([m, m, big_n - 1 - m, big_n - 1 - m], radius=12 * u,
                         outline=255, width=max(1, int(round(1.2 * u))))
    fade = Image.linear_gradient("L").resize((big_n, big_n))
    fade = fade.point(lambda v: max(0, 110 - v))   # only the upper part
    rim = Image.composite(rim, Image.new("L", rim.size, 0), fade)

    sign = Image.new("L", (big_n, big_n), 0)
    sd = ImageDraw.Draw(sign)
    small = n < 32
    ring_r = (7.5 if small else 9.0) * u
    ring_w = (4.5 if small else 4.6) * u
    for cx, cy in ((21.5 * u, 21.5 * u), (42.5 * u, 42.5 * u)):
        sd.ellipse([cx - ring_r, cy - ring_r, cx + ring_r, cy + ring_r], fill=255)
        if not small:
            hr = ring_r - ring_w
            sd.ellipse([cx - hr, cy - hr, cx + hr, cy + hr], fill=0)
    sw = (9.0 if small else 5.4) * u
    a, b = (46 * u, 12 * u), (18 * u, 52 * u)
    sd.line([a, b], fill=255, width=int(round(sw)))
    for cx, cy in (a, b):
        sd.ellipse([cx - sw / 2, cy - sw / 2, cx + sw / 2, cy + sw / 2], fill=255)

    rgb = grad.copy()
    rgb.paste(Image.new("RGB", rgb.size, (150, 160, 178)), (0, 0), rim)
    rgb.paste(Image.new("RGB", rgb.size, (255, 255, 255)), (0, 0), sign)
    out = rgb.convert("RGBA")
    out.putalpha(plate)
    return downsample_rgba(out, n)


def downsample_rgba(img, n):
    """Boxes RGBA down with premultiplied alpha, so edges keep their colour."""
    r, g, b, a = img.split()
    pre = [ImageChops.multiply(c, a).resize((n, n), Image.BOX) for c in (r, g, b)]
    a = a.resize((n, n), Image.BOX)
    out = Image.new("RGBA", (n, n))
    po = out.load()
    R, G, B = (c.load() for c in pre)
    A = a.load()
    for y in range(n):
        for x in range(n):
            al = A[x, y]
            if al == 0:
                po[x, y] = (0, 0, 0, 0)
            else:
                po[x, y] = tuple(min(255, (c[x, y] * 255 + al // 2) // al)
                                 for c in (R, G, B)) + (al,)
    return out


# ---------------------------------------------------------------- writers

def bmp24(img):
    """Uncompressed 24-bit bottom-up DIB with a 40-byte header."""
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    pad = b"\0" * (stride - w * 3)
    raw = img.convert("RGB").tobytes("raw", "BGR")
    rows = [raw[y * w * 3:(y + 1) * w * 3] + pad for y in range(h - 1, -1, -1)]
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(bits), 0, 0, 14 + 40)
    return head + info + bits


def ico(images):
    """ICO with 32-bit DIB entries; the 256 px entry is PNG-compressed."""
    blobs = []
    for im in images:
        n = im.size[0]
        if n >= 256:
            buf = io.BytesIO()
            im.save(buf, "PNG", optimize=False, compress_level=9)
            blobs.append(buf.getvalue())
            continue
        raw = im.tobytes("raw", "BGRA")
        xor = b"".join(raw[y * n * 4:(y + 1) * n * 4] for y in range(n - 1, -1, -1))
        mstride = ((n + 31) // 32) * 4
        mask = bytearray()
        alpha = im.getchannel("A").load()
        for y in range(n - 1, -1, -1):
            row = bytearray(mstride)
            for x in range(n):
                if alpha[x, y] == 0:
                    row[x >> 3] |= 0x80 >> (x & 7)
            mask += row
        info = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0,
                           len(xor) + len(mask), 0, 0, 0, 0)
        blobs.append(info + xor + bytes(mask))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        n = im.size[0]
        out += struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------- typeface

def convert_font(src, dst):
    """CFF outlines to quadratic glyf outlines; names and layout kept."""
    from fontTools.ttLib import TTFont, newTable
    from fontTools.pens.cu2quPen import Cu2QuPen
    from fontTools.pens.ttGlyphPen import TTGlyphPen
    from fontTools.ttLib.tables._g_a_s_p import GASP_SYMMETRIC_SMOOTHING, \
        GASP_DOGRAY

    tt = TTFont(src, recalcTimestamp=False)
    assert tt.sfntVersion == "OTTO" and "CFF " in tt
    order = tt.getGlyphOrder()
    gs = tt.getGlyphSet()

    glyf = newTable("glyf")
    glyf.glyphOrder = order
    glyf.glyphs = {}
    for name in order:
        pen = TTGlyphPen(gs)
        # CFF winds counter-clockwise; TrueType wants clockwise outers.
        gs[name].draw(Cu2QuPen(pen, max_err=1.0, reverse_direction=True))
        glyf.glyphs[name] = pen.glyph()
    tt["loca"] = newTable("loca")
    tt["glyf"] = glyf
    del tt["CFF "]
    glyf.compile(tt)

    hmtx = tt["hmtx"]
    for name, g in glyf.glyphs.items():
        adv = hmtx.metrics[name][0]
        hmtx.metrics[name] = (adv, getattr(g, "xMin", 0) if g.numberOfContours else 0)

    maxp = newTable("maxp")
    maxp.tableVersion = 0x00010000
    maxp.maxZones = 1
    for f in ("maxTwilightPoints", "maxStorage", "maxFunctionDefs",
              "maxInstructionDefs", "maxStackElements", "maxSizeOfInstructions"):
        setattr(maxp, f, 0)
    maxp.maxComponentElements = max(
        (len(g.components) for g in glyf.glyphs.values() if g.isComposite()), default=0)
    tt["maxp"] = maxp

    post = tt["post"]
    post.formatType = 2.0
    post.extraNames = []
    post.mapping = {}
    post.glyphOrder = order

    # Unhinted outlines: ask the rasteriser for smooth grey edges at all sizes.
    gasp = newTable("gasp")
    gasp.version = 1
    gasp.gaspRange = {0xFFFF: GASP_DOGRAY | GASP_SYMMETRIC_SMOOTHING}
    tt["gasp"] = gasp

    tt.sfntVersion = "\x00\x01\x00\x00"
    tt.save(dst)


def licence_text(copyright_file):
    """The font's copyright line and the OFL text, unwrapped from the
    Debian copyright file's indented stanza."""
    lines = open(copyright_file, encoding="utf-8").read().splitlines()
    holder = next(l.split(":", 1)[1].strip() for l in lines
                  if l.startswith("Copyright:"))
    # The stand-alone licence paragraph is the last one of that name.
    start = len(lines) - 1 - lines[::-1].index("License: OFL-1.1")
    body = []
    for l in lines[start + 1:]:
        if not l.startswith(" "):
            break
        body.append("" if l.strip() == "." else l[1:].rstrip())
    return "Copyright (c) " + holder + "\n\n" + "\n".join(body) + "\n"


# ---------------------------------------------------------------- main

OUT = HERE


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def main():
    global OUT
    if len(sys.argv) > 1:
        OUT = sys.argv[1]
    bg = draw_background()
    write("background.bmp", bmp24(bg))
    write("donate.bmp", bmp24(draw_strip(bg, DONATE_SQ, "heart")))
    write("close.bmp", bmp24(draw_strip(bg, CLOSE_SQ, "cross")))
    write("app.ico", ico([icon_image(n) for n in (16, 32, 48, 64, 128, 256)]))
    convert_font(OTF, os.path.join(OUT, "BebasNeue-Regular.ttf"))
    write("OFL.txt", licence_text(OTF_COPYRIGHT).encode("utf-8"))


if __name__ == "__main__":
    main()
