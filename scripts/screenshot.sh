#!/usr/bin/env bash
# screenshot.sh [--here] [--settle SECONDS | --live] OUTPUT.png PROGRAM [ARGS...]
#
# Starts PROGRAM (a .exe runs with wine), waits for the gadget's window
# (accepting a first-start agreement), lets the gadget sample for SETTLE
# seconds (default 11, enough for all ten chart columns to hold real samples)
# and saves a screenshot of the live window to OUTPUT.png. Then it closes the
# gadget with Alt+F4, as a person would, and fails unless it ends with 0.
# With --live it saves the live window every two seconds instead, until the
# gadget ends or Ctrl+C.
#
# By default it runs inside scripts/wine-sandbox (a fresh Wine prefix and Xvfb
# display); --here uses the current DISPLAY and WINEPREFIX instead.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-and-gadget.sh"

settle=11
inside=
live=
while [ $# -gt 0 ]; do
  case "$1" in
    --here) inside=1; shift ;;
    --settle) settle=$2; shift 2 ;;
    --live) live=1; shift ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -ge 2 ] || { echo "usage: screenshot.sh [--here] [--settle SECONDS | --live] OUTPUT.png PROGRAM [ARGS...]" >&2; exit 2; }

if [ -z "$inside" ]; then
  exec "$ZQ_ROOT/scripts/wine-sandbox" bash "${BASH_SOURCE[0]}" --here --settle "$settle" ${live:+--live} "$@"
fi

out=$1; shift
[ -n "${DISPLAY:-}" ] || { echo "screenshot.sh: no DISPLAY" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
start_program "$@"
win=$(await_gadget 60) || exit 1

if [ -n "$live" ]; then
  echo "Zelvaquint runs on the private display $DISPLAY."
  echo "A screenshot of the live window is saved every 2 s to: $out"
  echo "Press Ctrl+C to stop."
  while program_running; do
    import -window "$win" "$out.tmp.png" 2>/dev/null && mv "$out.tmp.png" "$out"
    sleep 2
  done
  exit 0
fi

# Not a wait for the window: the gadget needs this long to fill its chart.
sleep "$settle"
program_running || { echo "screenshot.sh: the program ended early" >&2; exit 1; }
import -window "$win" "$out" || exit 1
echo "screenshot.sh: saved $out"

xdotool windowfocus --sync "$win" key alt+F4
program_ended() { ! program_running; }
wait_until 20 program_ended || { echo "screenshot.sh: the gadget did not close on Alt+F4" >&2; exit 1; }
wait "$PROGRAM_PID"
code=$?
[ "$code" = 0 ] || { echo "screenshot.sh: the gadget ended with $code" >&2; exit 1; }
