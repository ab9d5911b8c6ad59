"""compare_region.py SHOT X Y BMP STATE: exit 0 when the 35 x 35 square of
the screenshot at (X, Y) equals state STATE (0 normal .. 3 disabled) of the
button strip BMP, pixel for pixel; otherwise print how many pixels differ."""
import sys

from PIL import Image

shot, x, y, strip, state = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4], int(sys.argv[5])
screen = Image.open(shot).convert("RGB").crop((x, y, x + 35, y + 35))
want = Image.open(strip).convert("RGB").crop((0, 35 * state, 35, 35 * state + 35))
diff = sum(1 for a, b in zip(screen.getdata(), want.getdata()) if a != b)
if diff:
    print(f"{diff} of 1225 pixels differ from state {state}", file=sys.stderr)
sys.exit(1 if diff else 0)
