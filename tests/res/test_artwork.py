#!/usr/bin/python3
"""Checks the committed resources at the places the program relies on.

The painting code draws bars and numbers onto fixed pixels of the
background and cuts the button strips into 35-pixel states, so a line that
moves by one pixel or a state that differs from the plate shows on screen.

Run: /usr/bin/python3 tests/res/test_artwork.py
"""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
RES = os.path.join(ROOT, "res")

FRAME = (33, 40, 50)
FRAME_LIGHT = (108, 113, 124)
LINE = (138, 142, 151)
TILE = (66, 73, 83)
GRID_Y = (213, 238, 263, 288, 313)
GRID_X = tuple(19 + 31 * j for j in range(11))
CHIPS = ((73, 100), (196, 100))
PIN_ROWS = (118, 139, 160)
BUTTONS = {"close.bmp": (295, 16), "donate.bmp": (257, 16)}


def is_field(c):
    """The plate's slate texture, with a little slack for the bevel."""
    r, g, b = c
    return 74 <= r <= 86 and 80 <= g <= 92 and 93 <= b <= 105 and \
        4 <= g - r <= 8 and 16 <= b - r <= 22


def read(path, mode="rb"):
    with open(path, mode) as f:
        return f.read()


def near(c, ref, tol):
    return all(abs(a - b) <= tol for a, b in zip(c, ref))


class Bmp:
    """Minimal reader that insists on the one layout LoadBitmap gets here."""

    def __init__(self, path):
        data = read(path)
        self.raw = data
        (self.magic, self.file_size, _, _, self.off_bits) = struct.unpack_from("<2sIHHI", data, 0)
        (self.bi_size, self.width, self.height, self.planes, self.bit_count,
         self.compression, self.size_image, _, _, self.clr_used,
         _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        self.stride = (self.width * 3 + 3) & ~3

    def px(self, x, y):
        row = self.height - 1 - y                   # bottom-up
        o = self.off_bits + row * self.stride + x * 3
        b, g, r = self.raw[o:o + 3]
        return (r, g, b)

    def crop(self, x0, y0, w, h):
        return [[self.px(x, y) for x in range(x0, x0 + w)] for y in range(y0, y0 + h)]


def load(name):
    return Bmp(os.path.join(RES, name))


class BitmapFormat(unittest.TestCase):
    SIZES = {"background.bmp": (349, 366), "close.bmp": (35, 140), "donate.bmp": (35, 140)}

    def test_headers_are_plain_24bit_bottom_up(self):
        for name, (w, h) in self.SIZES.items():
            with self.subTest(name):
                b = load(name)
                self.assertEqual(b.magic, b"BM")
                self.assertEqual(b.bi_size, 40)
                self.assertEqual((b.width, b.height), (w, h))   # positive: bottom-up
                self.assertEqual(b.planes, 1)
                self.assertEqual(b.bit_count, 24)
                self.assertEqual(b.compression, 0)
                self.assertEqual(b.clr_used, 0)
                self.assertEqual(b.off_bits, 54)                # no colour table
                self.assertEqual(len(b.raw), 54 + b.stride * h)
                self.assertEqual(b.file_size, len(b.raw))

    def test_row_padding_is_zero(self):
        b = load("background.bmp")                  # 349 * 3 = 1047: one pad byte
        self.assertEqual(b.stride, 1048)
        pads = {b.raw[54 + r * b.stride + 1047] for r in range(b.height)}
        self.assertEqual(pads, {0})


class Background(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bg = load("background.bmp")

    def px(self, x, y):
        return self.bg.px(x, y)

    def test_frame_and_top_highlight(self):
        for x in range(349):
            self.assertEqual(self.px(x, 0), FRAME, x)
            self.assertEqual(self.px(x, 365), FRAME, x)
        for y in range(366):
            self.assertEqual(self.px(0, y), FRAME, y)
            self.assertEqual(self.px(348, y), FRAME, y)
        for x in range(1, 348):
            self.assertEqual(self.px(x, 1), FRAME_LIGHT, x)

    def test_separator_spans_exactly_19_to_329(self):
        for x in range(19, 330):
            self.assertEqual(self.px(x, 66), LINE, x)
        self.assertNotEqual(self.px(18, 66), LINE)
        self.assertNotEqual(self.px(330, 66), LINE)
        for y in (65, 67):
            self.assertNotIn(LINE, [self.px(x, y) for x in range(19, 330)])

    def test_grid_lines_at_exact_positions(self):
        for y in GRID_Y:
            for x in range(19, 330):
                self.assertEqual(self.px(x, y), LINE, (x, y))
            self.assertNotEqual(self.px(18, y), LINE)
            self.assertNotEqual(self.px(330, y), LINE)
        for x in GRID_X:
            for y in range(213, 314):
                self.assertEqual(self.px(x, y), LINE, (x, y))
            self.assertNotEqual(self.px(x, 212), LINE)
            self.assertNotEqual(self.px(x, 314), LINE)

    def test_column_interiors_are_plain_field(self):
        # Bars are drawn on rows 213..312 of every column; anything but the
        # texture there would show through between and beside the bars.
        for i in range(10):
            r = 50 + 31 * i
            for x in range(r - 30, r):
                for y in range(213, 313):
                    if y in GRID_Y:
                        continue
                    self.assertTrue(is_field(self.px(x, y)), (x, y, self.px(x, y)))

    def test_label_band_is_plain_field(self):
        for y in range(317, 353):
            for x in range(1, 348):
                self.assertTrue(is_field(self.px(x, y)), (x, y, self.px(x, y)))

    def test_chip_outlines_corners_and_pins(self):
        for cx, cy in CHIPS:
            x1, y1 = cx + 79, cy + 79
            with self.subTest(chip=(cx, cy)):
                for x in range(cx, x1 + 1):
                    self.assertEqual(self.px(x, cy), LINE)
                    self.assertEqual(self.px(x, y1), LINE)
                for y in range(cy, y1 + 1):
                    self.assertEqual(self.px(cx, y), LINE)
                    self.assertEqual(self.px(x1, y), LINE)
                # Outline ends at its corners.
                for x, y in ((cx - 1, cy), (cx, cy - 1), (x1 + 1, cy), (x1, cy - 1),
                             (cx - 1, y1), (cx, y1 + 1), (x1 + 1, y1), (x1, y1 + 1)):
                    self.assertNotEqual(self.px(x, y), LINE, (x, y))
                pins = set()
                for x in range(cx - 12, x1 + 13):
                    for y in range(cy, y1 + 1):
                        if (x < cx or x > x1) and self.px(x, y) == LINE:
                            pins.add((x, y))
                want = {(x, y) for py in PIN_ROWS for y in (py, py + 1)
                        for x in list(range(cx - 8, cx - 2)) + list(range(x1 + 3, x1 + 9))}
                self.assertEqual(pins, want)

    def test_reading_areas_hold_only_a_faint_watermark(self):
        for cx, cy in CHIPS:
            for x in range(cx + 1, cx + 79):
                for y in range(cy + 27, cy + 79):
                    r, g, b = self.px(x, y)
                    self.assertTrue(74 <= r <= 92 and 80 <= g <= 98 and 93 <= b <= 112,
                                    (x, y, (r, g, b)))

    def test_chip_labels_sit_in_rows_113_to_126(self):
        for cx, cy in CHIPS:
            # Middle columns only: the pin-one dot sits in the corner.
            ink = [(x, y) for x in range(cx + 16, cx + 64) for y in range(cy + 1, cy + 27)
                   if not is_field(self.px(x, y))]
            self.assertTrue(ink)
            self.assertGreaterEqual(min(y for _, y in ink), 113)
            self.assertLessEqual(max(y for _, y in ink), 126)

    def test_title_in_its_box(self):
        ink = [(x, y) for x in range(1, 250) for y in range(2, 66) if sum(self.px(x, y)) > 500]
        xs = [x for x, _ in ink]
        ys = [y for _, y in ink]
        self.assertTrue(ink)
        self.assertGreaterEqual(min(xs), 18)
        self.assertLessEqual(max(xs), 110)
        self.assertGreaterEqual(min(ys), 35)
        self.assertLessEqual(max(ys), 48)

    def test_button_squares_hold_a_grey_glyph_in_the_middle(self):
        for name, (sx, sy) in BUTTONS.items():
            with self.subTest(name):
                cells = self.bg.crop(sx, sy, 35, 35)
                marks = [(x, y) for y in range(35) for x in range(35) if not is_field(cells[y][x])]
                self.assertTrue(marks)
                self.assertGreaterEqual(min(x for x, _ in marks), 8)
                self.assertLessEqual(max(x for x, _ in marks), 26)
                self.assertGreaterEqual(min(y for _, y in marks), 8)
                self.assertLessEqual(max(y for _, y in marks), 26)
                self.assertTrue(any(near(c, (136, 140, 148), 6) for row in cells for c in row))


class ButtonStrips(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bg = load("background.bmp")

    def states(self, name):
        b = load(name)
        return [b.crop(0, 35 * i, 35, 35) for i in range(4)]

    def test_normal_state_is_the_plate_under_the_button(self):
        for name, (sx, sy) in BUTTONS.items():
            with self.subTest(name):
                self.assertEqual(self.states(name)[0], self.bg.crop(sx, sy, 35, 35))

    def test_disabled_equals_pressed(self):
        for name in BUTTONS:
            with self.subTest(name):
                s = self.states(name)
                self.assertEqual(s[3], s[2])

    def test_hover_and_pressed_tiles(self):
        corners = ((0, 0), (34, 0), (0, 34), (34, 34))
        for name in BUTTONS:
            with self.subTest(name):
                s = self.states(name)
                for state in (1, 2):
                    tile = s[state]
                    for x, y in corners:
                        self.assertTrue(is_field(tile[y][x]), (state, x, y))
                    # Flat tile everywhere outside the glyph box but the corners.
                    for y in range(35):
                        for x in range(35):
                            if (x, y) in corners or (8 <= x <= 26 and 8 <= y <= 26):
                                continue
                            self.assertEqual(tile[y][x], TILE, (state, x, y))

    def test_glyph_brightness_and_pressed_shrink(self):
        for name in BUTTONS:
            with self.subTest(name):
                s = self.states(name)
                hover = [c for row in s[1] for c in row if c != TILE]
                pressed = [c for row in s[2] for c in row if c != TILE]
                self.assertTrue(any(near(c, (191, 193, 196), 4) for c in hover))
                self.assertTrue(any(near(c, (128, 133, 140), 4) for c in pressed))
                self.assertFalse(any(sum(c) > sum((128, 133, 140)) + 6 for c in pressed))
                # Glyph coverage: how far each pixel rises above the tile.
                ink = lambda st: sum(sum(c) - sum(TILE) for row in st[1:34] for c in row[1:34])
                self.assertLess(ink(s[2]), ink(s[1]))


class Typeface(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        from fontTools.ttLib import TTFont
        cls.path = os.path.join(RES, "BebasNeue-Regular.ttf")
        cls.font = TTFont(cls.path)

    def test_windows_family_name_matches_the_face_the_program_asks_for(self):
        names = {(n.platformID, n.nameID): n.toUnicode() for n in self.font["name"].names}
        self.assertEqual(names[(3, 1)], "Bebas Neue Regular")
        self.assertEqual(names[(3, 2)], "Regular")

    def test_truetype_outlines(self):
        with open(self.path, "rb") as f:
            self.assertEqual(f.read(4), b"\x00\x01\x00\x00")
        self.assertIn("glyf", self.font)
        self.assertIn("loca", self.font)
        self.assertNotIn("CFF ", self.font)
        self.assertEqual(self.font["maxp"].tableVersion, 0x00010000)

    def test_digits_and_capitals_have_outlines(self):
        cmap = self.font.getBestCmap()
        glyf = self.font["glyf"]
        for ch in "0123456789ACEILMNOPQRTUVZ%":
            with self.subTest(ch):
                g = glyf[cmap[ord(ch)]]
                self.assertGreater(g.numberOfContours, 0)

    def test_licence_travels_with_the_font(self):
        text = read(os.path.join(RES, "OFL.txt"), "rb").decode("utf-8")
        self.assertIn("SIL OPEN FONT LICENSE Version 1.1", text)
        self.assertIn("Ryoichi Tsunekawa", text)


class Icon(unittest.TestCase):
    def test_six_32bit_images_16_to_256(self):
        data = read(os.path.join(RES, "app.ico"))
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 6))
        sizes = []
        for i in range(count):
            w, h, _, _, planes, bpp, size, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            n = w or 256
            self.assertEqual((w or 256), (h or 256))
            self.assertEqual(bpp, 32)
            blob = data[off:off + size]
            self.assertEqual(len(blob), size)
            if blob[:8] == b"\x89PNG\r\n\x1a\n":
                pw, ph, depth, colour = struct.unpack(">IIBB", blob[16:26])
                self.assertEqual((pw, ph, depth, colour), (n, n, 8, 6))   # RGBA
            else:
                bi = struct.unpack_from("<IiiHH", blob, 0)
                self.assertEqual(bi, (40, n, 2 * n, 1, 32))
                # Corner transparent, centre opaque: alpha is really used.
                xor = blob[40:40 + n * n * 4]
                self.assertLess(xor[3], 32)
                mid = ((n // 2) * n + n // 2) * 4
                self.assertEqual(xor[mid + 3], 255)
            sizes.append(n)
        self.assertEqual(sorted(sizes), [16, 32, 48, 64, 128, 256])


def read_sz_or_ord(b, o):
    if struct.unpack_from("<H", b, o)[0] == 0xFFFF:
        return struct.unpack_from("<H", b, o + 2)[0], o + 4
    e = o
    while struct.unpack_from("<H", b, e)[0]:
        e += 2
    return b[o:e].decode("utf-16-le"), e + 2


def parse_res(b):
    """(type, name, language) -> data for a windres .res file."""
    o, out = 0, {}
    while o < len(b):
        size, hsize = struct.unpack_from("<II", b, o)
        t, p = read_sz_or_ord(b, o + 8)
        n, p = read_sz_or_ord(b, p)
        p = (p + 3) & ~3
        lang = struct.unpack_from("<IHH", b, p)[2]
        if size:
            out[(t, n, lang)] = b[o + hsize:o + hsize + size]
        o = (o + hsize + size + 3) & ~3
    return out


def parse_dialogex(b):
    ver, sig, _, ex, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", b, 0)
    assert (ver, sig) == (1, 0xFFFF)
    o = 26
    menu, o = read_sz_or_ord(b, o)
    cls, o = read_sz_or_ord(b, o)
    title, o = read_sz_or_ord(b, o)
    pt, weight, italic, charset = struct.unpack_from("<HHBB", b, o)
    face, o = read_sz_or_ord(b, o + 6)
    dlg = dict(ex=ex, style=style, rect=(x, y, cx, cy), menu=menu, cls=cls, title=title,
               font=(pt, face, weight, italic, charset))
    items = []
    for _ in range(count):
        o = (o + 3) & ~3
        _, iex, istyle, ix, iy, icx, icy, iid = struct.unpack_from("<IIIhhhhI", b, o)
        o += 24
        icls, o = read_sz_or_ord(b, o)
        text, o = read_sz_or_ord(b, o)
        extra = struct.unpack_from("<H", b, o)[0]
        o += 2 + extra
        items.append(dict(ex=iex, style=istyle, rect=(ix, iy, icx, icy), id=iid,
                          cls=icls, text=text))
    return dlg, items


WINDRES = {"i686": "i686-w64-mingw32-windres", "x86_64": "x86_64-w64-mingw32-windres"}


@unittest.skipUnless(all(shutil.which(w) for w in WINDRES.values()), "MinGW windres not installed")
class CompiledScript(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp()

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp)

    def compile(self, arch, *defines):
        out = os.path.join(self.tmp, arch + "".join(defines) + ".res")
        subprocess.run([WINDRES[arch], "-I", RES, *["-D" + d for d in defines],
                        os.path.join(RES, "zelvaquint.rc"), "-O", "res", "-o", out],
                       check=True, cwd=self.tmp)
        return parse_res(read(out))

    def test_everything_once_under_en_us(self):
        res = self.compile("i686")
        self.assertEqual({k[2] for k in res}, {0x409})
        types = {(t, n) for t, n, _ in res if t != 3}      # 3: the icon images
        self.assertEqual(types, {(2, 0x1500), (2, 0x1551), (2, 0x1552), (10, 0x1490),
                                 (5, 0x1300), (14, 101), (16, 1), (24, 1)})
        self.assertEqual(len([k for k in res if k[0] == 3]), 6)

    def test_embedded_files_are_the_committed_ones(self):
        res = self.compile("i686")
        font = read(os.path.join(RES, "BebasNeue-Regular.ttf"))
        self.assertEqual(res[(10, 0x1490, 0x409)], font)
        bg = read(os.path.join(RES, "background.bmp"))
        self.assertEqual(res[(2, 0x1500, 0x409)], bg[14:])     # minus the file header

    def test_agreement_dialog_template(self):
        dlg, items = parse_dialogex(self.compile("i686")[(5, 0x1300, 0x409)])
        self.assertEqual(dlg["style"], 0x80C808C8)
        self.assertEqual(dlg["ex"], 0)
        self.assertEqual(dlg["rect"], (0, 0, 309, 287))
        self.assertEqual((dlg["menu"], dlg["cls"]), ("", ""))
        self.assertEqual(dlg["title"], "Zelvaquint - User Agreement")
        self.assertEqual(dlg["font"], (8, "MS Shell Dlg", 400, 0, 1))
        got = [(i["id"], i["cls"], i["style"], i["ex"], i["rect"], i["text"]) for i in items]
        self.assertEqual(got, [
            (0x1301, 0x81, 0x50A00844, 0, (7, 7, 295, 246), ""),
            (0x1302, 0x80, 0x50010001, 0, (252, 261, 51, 19), "Accept"),
            (0x1303, 0x80, 0x50010000, 0, (6, 261, 51, 19), "Close"),
        ])

    def test_manifest_architecture_follows_target(self):
        for arch, want in (("i686", 'processorArchitecture="x86"'),
                           ("x86_64", 'processorArchitecture="amd64"')):
            with self.subTest(arch):
                text = self.compile(arch)[(24, 1, 0x409)].decode("utf-8")
                self.assertIn(want, text)
                self.assertIn('level="asInvoker" uiAccess="false"', text)
                self.assertIn('publicKeyToken="6595b64144ccf1df"', text)

    def test_version_strings(self):
        blob = self.compile("i686")[(16, 1, 0x409)].decode("utf-16-le", "replace")
        for key, value in (("CompanyName", "QUORVANE"), ("FileDescription", "QUORVANE Zelvaquint"),
                           ("OriginalFilename", "Zelvaquint.exe"), ("ProductVersion", "1.0")):
            self.assertIn(key + "\0" * 1, blob)
            self.assertIn(value, blob)
        self.assertIn("040904B0", blob)

    def test_build_variants_drop_font_and_dialog(self):
        res = self.compile("i686", "ZQ_NO_FONT", "ZQ_NO_DIALOG")
        self.assertNotIn((10, 0x1490, 0x409), res)
        self.assertNotIn((5, 0x1300, 0x409), res)
        self.assertIn((2, 0x1500, 0x409), res)


class Reproducible(unittest.TestCase):
    def test_script_regenerates_the_committed_files(self):
        out = tempfile.mkdtemp()
        try:
            subprocess.run([sys.executable, os.path.join(RES, "draw_artwork.py"), out], check=True)
            for name in sorted(os.listdir(out)):
                with self.subTest(name):
                    a = read(os.path.join(out, name))
                    b = read(os.path.join(RES, name))
                    self.assertTrue(a == b, name + " differs from a fresh run")
        finally:
            shutil.rmtree(out)


if __name__ == "__main__":
    unittest.main()
