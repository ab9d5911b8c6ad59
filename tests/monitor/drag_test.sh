#!/usr/bin/env bash
# drag_test.sh HOST_EXE -- runs inside scripts/wine-sandbox.
#
# Drags the real monitor window under Wine and Xvfb with xdotool: the window
# follows the pointer step by step, PosX and PosY hold the new place shortly
# after the drag stops, a drag from another point of the body moves it too,
# and closing it at once after a drag leaves the earlier saved place alone.
# Without a window manager Wine runs the move loop itself; either way the
# system moves the window because its body answers the hit test as caption.
set -uo pipefail

host=$1
title='QUORVANE Zelvaquint'
key='HKCU\Software\QUORVANE\Zelvaquint\1'

fail() { echo "drag_test: $*" >&2; exit 1; }

# poll SECONDS COMMAND...: reruns COMMAND until it succeeds or time is up.
poll() {
  local end=$((SECONDS + $1)); shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.05
  done
}

# The signed value of a REG_DWORD, or nothing if it is missing.
reg_dword() {
  local hex
  hex=$(wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n && $2 == "REG_DWORD" { print $3 }')
  [ -n "$hex" ] || return 0
  local v=$((hex))
  [ "$v" -gt 2147483647 ] && v=$((v - 4294967296))
  echo "$v"
}
saved_at() { [ "$(reg_dword PosX)" = "$1" ] && [ "$(reg_dword PosY)" = "$2" ]; }

find_window() { win=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1) && [ -n "$win" ]; }
window_at() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$win")"
  [ "$X" = "$1" ] && [ "$Y" = "$2" ]
}
where() { xdotool getwindowgeometry "$win" | awk '/Position/ { print $2 }'; }

wine "$host" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

poll 60 find_window || fail "no window titled '$title'"
eval "$(xdotool getwindowgeometry --shell "$win")"
x0=$X y0=$Y
[ "$WIDTH" = 349 ] && [ "$HEIGHT" = 366 ] || fail "window is ${WIDTH}x${HEIGHT}"
# Showing and placing the window saves its place once.
poll 20 saved_at "$x0" "$y0" || fail "start-up place ($x0,$y0) not saved"

# Drag 1: grab the chart area and pull up and left in five steps.
gx=150 gy=250
xdotool mousemove $((x0 + gx)) $((y0 + gy)) mousedown 1
for step in 1 2 3 4 5; do
  xdotool mousemove $((x0 + gx - 60 * step)) $((y0 + gy - 40 * step))
  poll 10 window_at $((x0 - 60 * step)) $((y0 - 40 * step)) ||
    fail "step $step: window at $(where), pointer moved by ($((-60 * step)),$((-40 * step)))"
done
xdotool mouseup 1
x1=$((x0 - 300)) y1=$((y0 - 200))
poll 10 window_at "$x1" "$y1" || fail "after the drag the window is at $(where), not $x1,$y1"
poll 20 saved_at "$x1" "$y1" || fail "PosX/PosY $(reg_dword PosX)/$(reg_dword PosY), not $x1/$y1"
echo "drag_test: dragged from ($x0,$y0) to ($x1,$y1), saved"

# Drag 2: from the bottom-left corner of the body.
xdotool mousemove $((x1 + 3)) $((y1 + 362)) mousedown 1 mousemove $((x1 + 103)) $((y1 + 412)) mouseup 1
x2=$((x1 + 100)) y2=$((y1 + 50))
poll 10 window_at "$x2" "$y2" || fail "corner drag left the window at $(where), not $x2,$y2"
poll 20 saved_at "$x2" "$y2" || fail "PosX/PosY $(reg_dword PosX)/$(reg_dword PosY), not $x2/$y2"
echo "drag_test: corner drag moved the window to ($x2,$y2), saved"

# Drag 3, with alt+F4 queued right behind the release: the close comes well
# within half a second of the move, so the saved place stays that of drag 2.
xdotool mousemove $((x2 + 150)) $((y2 + 250)) mousedown 1 mousemove $((x2 + 250)) $((y2 + 300)) \
  mouseup 1 key alt+F4
poll 20 bash -c "! kill -0 $pid 2>/dev/null" || fail "alt+F4 did not close the window"
saved_at "$x2" "$y2" || fail "a close right after a move saved $(reg_dword PosX)/$(reg_dword PosY)"
echo "drag_test: closing right after a drag kept ($x2,$y2)"
