#!/usr/bin/env bash
# run-headless.sh EXE SHOT: runs inside wine-sandbox on a private display that
# nobody sees. The agreement is answered with Enter on the user's behalf (the
# output says so), and the live window is saved to SHOT every two seconds
# until the gadget ends or Ctrl+C.
set -uo pipefail
exe=$1 shot=$2
mkdir -p "$(dirname "$shot")"
wine "$exe" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null' EXIT

find_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
gadget=
for _ in $(seq 1 600); do
  kill -0 $pid 2>/dev/null || { echo "Zelvaquint ended" >&2; exit 1; }
  gadget=$(find_window 'QUORVANE Zelvaquint')
  [ -n "$gadget" ] && break
  dialog=$(find_window 'Zelvaquint - User Agreement')
  if [ -n "$dialog" ]; then
    echo "The user agreement showed on the private display; accepting it with Enter."
    xdotool windowfocus --sync "$dialog" key Return
  fi
  sleep 0.1
done
[ -n "$gadget" ] || { echo "the gadget window did not appear" >&2; exit 1; }

echo "Zelvaquint runs on the private display $DISPLAY."
echo "A screenshot of the live window is saved every 2 s to: $shot"
echo "Press Ctrl+C to stop."
while kill -0 $pid 2>/dev/null; do
  import -window "$gadget" "$shot.tmp.png" 2>/dev/null && mv "$shot.tmp.png" "$shot"
  sleep 2
done
