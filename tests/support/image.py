"""image.py COMMAND PICTURE ARGS...: what the shell tests read from a picture.

  size PICTURE                  prints WIDTHxHEIGHT
  pixel PICTURE X Y             prints the colour at (X, Y) as R,G,B
  tile PICTURE X Y STRIP STATE  exits 0 when the 35 x 35 square at (X, Y)
                                equals state STATE (0 normal .. 3 disabled) of
                                the button strip STRIP, pixel for pixel;
                                otherwise says how many pixels differ
"""
import sys

from PIL import Image


def main(command, picture, *args):
    image = Image.open(picture).convert("RGB")
    if command == "size":
        print("%dx%d" % image.size)
    elif command == "pixel":
        print("%d,%d,%d" % image.getpixel((int(args[0]), int(args[1]))))
    elif command == "tile":
        x, y, strip, state = int(args[0]), int(args[1]), args[2], int(args[3])
        shown = image.crop((x, y, x + 35, y + 35))
        want = Image.open(strip).convert("RGB").crop((0, 35 * state, 35, 35 * state + 35))
        diff = sum(1 for a, b in zip(shown.getdata(), want.getdata()) if a != b)
        if diff:
            print(f"{diff} of 1225 pixels differ from state {state}", file=sys.stderr)
            return 1
    else:
        sys.exit(__doc__)
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) > 2 else __doc__)
