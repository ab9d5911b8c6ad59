#!/usr/bin/env bash
# readme_screenshot.sh EXE OUT.png: a screenshot of the live gadget (through
# scripts/screenshot.sh, which answers a first-start agreement), checked to
# be the whole 349 x 366 face with its frame. With ZQ_REFRESH_SCREENSHOT=1
# it also replaces the README's picture, docs/screenshot.png.
source "$(dirname "$0")/../support/shell-test.sh"
exe=$1 out=$2

"$ZQ_ROOT/scripts/screenshot.sh" --here "$out" "$exe" >/dev/null || die "a screenshot of the live window"
size=$(image size "$out")
check "the screenshot is the whole window ($size)" test "$size" = 349x366
corner=$(image pixel "$out" 0 0)
check "its corner is the artwork's frame ($corner)" test "$corner" = 33,40,50
if [ "${ZQ_REFRESH_SCREENSHOT:-0}" = 1 ] && [ "$failures" -eq 0 ]; then
  cp "$out" "$ZQ_ROOT/docs/screenshot.png" && pass "docs/screenshot.png refreshed"
fi
finish
