#!/usr/bin/env bash
# run-headless.sh EXE SHOT: runs inside wine-sandbox on a private display that
# nobody sees. The agreement is answered with Enter on the user's behalf (the
# output says so), and the live window is saved to SHOT every two seconds
# until the gadget ends or Ctrl+C.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
exe=$1 shot=$2
mkdir -p "$(dirname "$shot")"
start_program "$exe" >/dev/null 2>&1
gadget=$(await_gadget 60) || exit 1

echo "Zelvaquint runs on the private display $DISPLAY."
echo "A screenshot of the live window is saved every 2 s to: $shot"
echo "Press Ctrl+C to stop."
while program_running; do
  import -window "$gadget" "$shot.tmp.png" 2>/dev/null && mv "$shot.tmp.png" "$shot"
  sleep 2
done
