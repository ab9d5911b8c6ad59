#!/usr/bin/env bash
# drag_test.sh HOST_EXE -- runs inside scripts/wine-sandbox.
#
# Drags the real monitor window under Wine and Xvfb with xdotool: the window
# follows the pointer step by step, PosX and PosY hold the new place shortly
# after the drag stops, a drag from another point of the body moves it too,
# and closing it at once after a drag leaves the earlier saved place alone.
# Without a window manager Wine runs the move loop itself; either way the
# system moves the window because its body answers the hit test as caption.
source "$(dirname "$0")/../support/lib.sh"
host=$1
# The host keeps its settings in a scratch user hive; this one it shares and
# leaves in place, so the saved place can be read after it ends.
export ZQ_SCRATCH_USER_HIVE='Software\Zelvaquint test hive drag_test'
SETTINGS_KEY="HKCU\\$ZQ_SCRATCH_USER_HIVE\\${SETTINGS_KEY#HKCU\\}"

pos() { reg_dword "$SETTINGS_KEY" "$1"; }
saved_at() { [ "$(pos PosX)" = "$1" ] && [ "$(pos PosY)" = "$2" ]; }
window_at() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  geometry "$win"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ]
}
where() { xdotool getwindowgeometry "$win" | awk '/Position/ { print $2 }'; }

start_program "$host"
win=$(await_window "$GADGET_TITLE" 60) || die "no window titled '$GADGET_TITLE'"
geometry "$win"
x0=$X y0=$Y
[ "$WIDTH" = 349 ] && [ "$HEIGHT" = 366 ] || die "window is ${WIDTH}x${HEIGHT}"
# Showing and placing the window saves its place once.
wait_until 20 saved_at "$x0" "$y0" || die "start-up place ($x0,$y0) not saved"

# Drag 1: grab the chart area and pull up and left in five steps.
gx=150 gy=250
xdotool mousemove $((x0 + gx)) $((y0 + gy)) mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove $((x0 + gx - 60 * step)) $((y0 + gy - 40 * step))
  wait_until 10 window_at $((x0 - 60 * step)) $((y0 - 40 * step)) ||
    die "step $step: window at $(where), pointer moved by ($((-60 * step)),$((-40 * step)))"
done
xdotool mouseup 1
x1=$((x0 - 300)) y1=$((y0 - 200))
wait_until 10 window_at "$x1" "$y1" || die "after the drag the window is at $(where), not $x1,$y1"
wait_until 20 saved_at "$x1" "$y1" || die "PosX/PosY $(pos PosX)/$(pos PosY), not $x1/$y1"
echo "drag_test: dragged from ($x0,$y0) to ($x1,$y1), saved"

# Drag 2: from the bottom-left corner of the body.
xdotool mousemove $((x1 + 3)) $((y1 + 362)) mousedown 1 mousemove $((x1 + 103)) $((y1 + 412)) mouseup 1
x2=$((x1 + 100)) y2=$((y1 + 50))
wait_until 10 window_at "$x2" "$y2" || die "corner drag left the window at $(where), not $x2,$y2"
wait_until 20 saved_at "$x2" "$y2" || die "PosX/PosY $(pos PosX)/$(pos PosY), not $x2/$y2"
echo "drag_test: corner drag moved the window to ($x2,$y2), saved"

# Drag 3, with alt+F4 queued right behind the release: the close comes well
# within half a second of the move, so the saved place stays that of drag 2.
xdotool mousemove $((x2 + 150)) $((y2 + 250)) mousedown 1 mousemove $((x2 + 250)) $((y2 + 300)) \
  mouseup 1 key alt+F4
program_wait 20 || die "alt+F4 did not close the window"
saved_at "$x2" "$y2" || die "a close right after a move saved $(pos PosX)/$(pos PosY)"
echo "drag_test: closing right after a drag kept ($x2,$y2)"
