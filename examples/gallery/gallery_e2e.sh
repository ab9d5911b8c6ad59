#!/usr/bin/env bash
# Drives the gallery with the real pointer (xdotool) in the Wine sandbox and
# checks the reports it logs: click, hold for repeats, drag out and back in,
# release outside, hover for the dwell report, and latch.
# Usage (inside scripts/wine-sandbox): gallery_e2e.sh path/to/gallery.exe
set -euo pipefail
source "$(dirname "$0")/../../tests/support/shell-test.sh"

exe=$1
log=$ZQ_SANDBOX_DIR/reports.log
program_log ZQ_GALLERY_LOG "$log"
start_program "$exe" > "$ZQ_SANDBOX_DIR/wine.out" 2>&1

on_failure() {
  echo "--- report log ---" >&2
  grep -v '^STATUS' "$log" >&2 || true
}

count() { grep -c -- "$1" "$log" || true; }
at_least() { [ "$(count "$1")" -ge "$2" ]; }
# Polls until `grep -c PATTERN` reaches COUNT; 10 s at most.
wait_count() { wait_until 10 at_least "$1" "$2" || die "waited for $2 x '$1'"; }
reports() { grep -v -e '^STATUS' -e '^LAYOUT' "$log"; }
last_status() { grep '^STATUS' "$log" | tail -n 1; }

# The gallery's window, and where its buttons are.
await_window "$GALLERY_TITLE" >/dev/null || die "no gallery window"
wait_count '^LAYOUT off ' 1

declare -A cx cy left top bottom
while read -r _ key l t r b; do
  cx[$key]=$(((l + r) / 2)); cy[$key]=$(((t + b) / 2)); left[$key]=$l; top[$key]=$t; bottom[$key]=$b
done < <(grep '^LAYOUT' "$log")

# A parking place over the window but away from every button.
park_x=$((cx[push] + 5)); park_y=$((bottom[push] + 6))
park() { xdotool mousemove "$park_x" "$park_y"; }
to() { xdotool mousemove "${cx[$1]}" "${cy[$1]}"; }

# The screen itself, polled until a pixel has the colour wanted.
pixel_is() { [ "$(on_screen pixel "$1" "$2")" = "$3" ]; }
wait_pixel() {  # wait_pixel X Y R,G,B WHAT
  wait_until 20 pixel_is "$1" "$2" "$3" || die "pixel ($1, $2) is $(on_screen pixel "$1" "$2"), not $4 ($3)"
}
# The face of a framed button: column 18, row 5, clear of icons and text.
face() { echo $(( ${left[$1]} + 18 )) $(( ${top[$1]} + 5 )); }
NORMAL="92,100,114"; HOVER="118,128,146"; PRESSED="62,68,80"; DISABLED="160,162,166"

# Settles the hover state of every button between gestures.
park
sleep 0.1
n_leave=$(count '^LEAVE')

echo "hover: dwell report, then leave"
to push
wait_count '^HOVER push' 1
park
wait_count '^LEAVE push' 1

echo "push: click"
to push
c0=$(count '^COMMAND push')
l0=$(count '^LEAVE push')
xdotool click 1
wait_count '^COMMAND push' $((c0 + 1))
before=$(reports | awk -v n=$((c0 + 1)) '/^COMMAND push/ { if (++k == n) { print prev; exit } } { prev = $0 }')
[ "$before" = "LEAVE push" ] || die "the capture's BXN_LEAVE comes before WM_COMMAND, not '$before'"
[ "$(count '^LEAVE push')" -eq $((l0 + 1)) ] || die "one BXN_LEAVE per click"

echo "push: drag out and back in, then release"
c0=$(count '^COMMAND push')
xdotool mousedown 1
wait_pixel $(face push) "$PRESSED" "pressed"
xdotool mousemove "${cx[push]}" $((bottom[push] + 40))
wait_pixel $(face push) "$NORMAL" "normal once dragged out"
to push
wait_pixel $(face push) "$PRESSED" "pressed again once back in"
xdotool mouseup 1
wait_count '^COMMAND push' $((c0 + 1))

echo "push: drag out and release outside"
c0=$(count '^COMMAND push')
to push
xdotool mousedown 1
wait_pixel $(face push) "$PRESSED" "pressed"
xdotool mousemove "${cx[push]}" $((bottom[push] + 40))
wait_pixel $(face push) "$NORMAL" "normal once dragged out"
l0=$(count '^LEAVE push')
xdotool mouseup 1
wait_count '^LEAVE push' $((l0 + 1))    # the capture goes
sleep 0.2
[ "$(count '^COMMAND push')" -eq "$c0" ] || die "a release outside must not click"

echo "toggle: two clicks"
to toggle
xdotool click 1
wait_count '^COMMAND toggle v=0 c=1' 1
xdotool click 1
wait_count '^COMMAND toggle v=0 c=0' 1

echo "cycle: four clicks wrap 0..3"
to cycle
for v in 1 2 3 0; do
  xdotool click 1
  wait_count "^COMMAND cycle v=$v c=0" 1
done
[ "$(reports | grep '^COMMAND cycle' | cut -d' ' -f3 | tr '\n' ' ')" = "v=1 v=2 v=3 v=0 " ] || die "cycle order"

echo "spin: a quick click in each half"
xdotool mousemove "${cx[spin]}" $((top[spin] + 20))
xdotool click 1
wait_count '^COMMAND spin v=1 ' 1
xdotool mousemove "${cx[spin]}" $((bottom[spin] - 20))
xdotool click 1
wait_count '^COMMAND spin v=0 ' 1

echo "spin: hold for repeats"
xdotool mousemove "${cx[spin]}" $((top[spin] + 20))
c0=$(count '^COMMAND spin')
xdotool mousedown 1
wait_count '^COMMAND spin' $((c0 + 4))
l0=$(count '^LEAVE spin')
xdotool mouseup 1
wait_count '^LEAVE spin' $((l0 + 1))   # the capture goes first
# Spin commands before that LEAVE; the release's own follows it.
held=$(reports | awk -v n=$((l0 + 1)) '/^LEAVE spin/ && ++k == n { print c + 0; exit } /^COMMAND spin/ { c++ }')
wait_count '^COMMAND spin' $((held + 1))
spin_values() { reports | grep '^COMMAND spin' | sed -n "$1,$2p" | cut -d' ' -f3 | tr '\n' ' '; }
repeats=$(spin_values $((c0 + 1)) "$held")
case "$repeats" in "v=1 v=2 v=3 v=4 "*) ;; *) die "repeats step by one from 0: $repeats" ;; esac
[ "$(spin_values $((held + 1)) $((held + 1)))" = "$(spin_values "$held" "$held")" ] ||
  die "the release reports without a step"

echo "latch: down, then up"
to latch
c0=$(count '^COMMAND latch')
xdotool click 1
wait_count '^COMMAND latch' $((c0 + 1))
l0=$(count '^LEAVE latch')
xdotool click 1
wait_count '^LEAVE latch' $((l0 + 1))
sleep 0.2
[ "$(count '^COMMAND latch')" -eq $((c0 + 1)) ] || die "unlatching sends no WM_COMMAND"

echo "disabled: nothing"
to off
xdotool click 1
sleep 0.4
[ "$(reports | grep -c ' off' || true)" -eq 0 ] || die "a disabled button reports nothing"

echo "looks: disabled, hover, normal"
wait_pixel $(face off) "$DISABLED" "the disabled face"
to push
wait_pixel $(face push) "$HOVER" "the hover face"
park
wait_pixel $(face push) "$NORMAL" "the normal face"

echo "status line"
status=$(last_status)
case "$status" in
  "STATUS push v=0 | toggle c=0 | cycle v=0 | spin v="*" | latch n=1") ;;
  *) die "status line: $status" ;;
esac
echo "gallery e2e: all gestures passed"
