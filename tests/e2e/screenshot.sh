#!/usr/bin/env bash
# screenshot.sh EXE OUT.png: a screenshot of the live gadget (through
# scripts/screenshot.sh, which answers a first-start agreement), checked to
# be the whole 349 x 366 face with its frame. With ZQ_REFRESH_SCREENSHOT=1
# it also replaces the README's picture, docs/screenshot.png.
source "$(dirname "$0")/lib.sh"
exe=$1 out=$2
root=$(cd "$E2E_DIR/../.." && pwd)

"$root/scripts/screenshot.sh" "$out" "$exe" >/dev/null || { fail "a screenshot of the live window"; finish; }
size=$($DEBIAN_PYTHON -c "from PIL import Image; print('%dx%d' % Image.open('$out').size)")
check "the screenshot is the whole window ($size)" test "$size" = 349x366
corner=$($DEBIAN_PYTHON -c "from PIL import Image; print(Image.open('$out').convert('RGB').getpixel((0, 0)))")
check "its corner is the artwork's frame ($corner)" test "$corner" = "(33, 40, 50)"
if [ "${ZQ_REFRESH_SCREENSHOT:-0}" = 1 ] && [ "$failures" -eq 0 ]; then
  cp "$out" "$root/docs/screenshot.png" && pass "docs/screenshot.png refreshed"
fi
finish
