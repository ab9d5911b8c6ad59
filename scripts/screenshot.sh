#!/usr/bin/env bash
# screenshot.sh [--here] [--settle SECONDS] OUTPUT.png PROGRAM [ARGS...]
#
# Starts PROGRAM (a .exe runs with wine), waits for its window titled
# "QUORVANE Zelvaquint", lets the gadget sample for SETTLE seconds (default
# 11, enough for all ten chart columns to hold real samples) and saves a
# screenshot of the live window to OUTPUT.png. The program is ended after.
#
# By default it runs inside scripts/wine-sandbox (a fresh Wine prefix and Xvfb
# display); --here uses the current DISPLAY and WINEPREFIX instead.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
title='QUORVANE Zelvaquint'
settle=11
inside=
while [ $# -gt 0 ]; do
  case "$1" in
    --here) inside=1; shift ;;
    --settle) settle=$2; shift 2 ;;
    --) shift; break ;;
    *) break ;;
  esac
done
[ $# -ge 2 ] || { echo "usage: screenshot.sh [--here] [--settle SECONDS] OUTPUT.png PROGRAM [ARGS...]" >&2; exit 2; }

if [ -z "$inside" ]; then
  exec "$here/wine-sandbox" bash "${BASH_SOURCE[0]}" --here --settle "$settle" "$@"
fi

out=$1; shift
[ -n "${DISPLAY:-}" ] || { echo "screenshot.sh: no DISPLAY" >&2; exit 1; }

if [[ "$1" == *.exe ]]; then wine "$@" & else "$@" & fi
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null' EXIT

win=
for _ in $(seq 1 600); do
  win=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1) && [ -n "$win" ] && break
  # A first start asks for the agreement; nobody else can answer it here.
  dialog=$(xdotool search --onlyvisible --name '^Zelvaquint - User Agreement$' 2>/dev/null | head -n1)
  [ -z "$dialog" ] || xdotool windowfocus --sync "$dialog" key Return
  kill -0 "$pid" 2>/dev/null || { echo "screenshot.sh: the program ended without a window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$win" ] || { echo "screenshot.sh: no window titled '$title'" >&2; exit 1; }

# Not a wait for the window: the gadget needs this long to fill its chart.
sleep "$settle"
kill -0 "$pid" 2>/dev/null || { echo "screenshot.sh: the program ended early" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
import -window "$win" "$out" || exit 1
echo "screenshot.sh: saved $out"
