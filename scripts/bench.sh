#!/usr/bin/env bash
# Runs every benchmark in one go and prints one table: the frame against its
# floors and parts, the sampling tick, the start time, and the cost on the
# desktop beside a bare window, conky and xosview. Figures, not tests.
#
#   scripts/bench.sh                 # full run (about 15 minutes)
#   ZQ_BENCH_ROUNDS=1 ZQ_BENCH_WINDOW=20 scripts/bench.sh   # a quick look
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/build-and-gadget.sh"
zq_prepare conky-std xosview
zq_build_windows "$ZQ_ARCH" -- Zelvaquint frame_bench tick_bench floor_window >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

echo "frame..." >&2
scripts/wine-sandbox "$ZQ_BUILD/bench/frame_bench.exe" >"$out/frame.txt"
echo "tick..." >&2
scripts/wine-sandbox "$ZQ_BUILD/bench/tick_bench.exe" >"$out/tick.txt"
# The gadget starts as after an accepted first start: no agreement dialog.
accepted=(scripts/wine-sandbox bash scripts/build-and-gadget.sh accepted "$PYTHON")
echo "start..." >&2
"${accepted[@]}" bench/start_time.py "$PWD/$ZQ_BUILD/app/Zelvaquint.exe" 5 >"$out/start.txt"
echo "desktop (each subject in turn)..." >&2
"${accepted[@]}" bench/desktop_cost.py "$PWD/$ZQ_BUILD/app/Zelvaquint.exe" "$PWD/$ZQ_BUILD/bench/floor_window.exe" \
  "${ZQ_BENCH_ROUNDS:-3}" "${ZQ_BENCH_SETTLE:-10}" "${ZQ_BENCH_WINDOW:-60}" >"$out/desktop.txt"

"$PYTHON" bench/report.py "$out"/frame.txt "$out"/tick.txt "$out"/start.txt "$out"/desktop.txt
