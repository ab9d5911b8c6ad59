#!/usr/bin/env bash
# soak.sh PROGRAM CYCLES -- runs inside scripts/wine-sandbox.
#
# Runs a soak program under Wine's gdi trace and checks what it leaves:
# GDI objects flat, the same allocations in every cycle and no delete of a
# selected object (gdi_trace.py, fed as the program runs, so the trace is
# never stored), and memory flat between the end of the warm-up and the end.
#
# Memory slack: 256 KiB on the working set and on the private bytes. Wine's
# heap grows in blocks of 64 KiB and more, and its X11 driver and font cache
# may touch a few more pages after the warm-up, so an exact match would be
# fragile; a leak of one small heap block (64 bytes with its header) per
# cycle comes to 320 KiB over 5,000 cycles and exceeds it.
source "$(dirname "$0")/../support/shell-test.sh"
program=$1
cycles=$2
slack_kb=${ZQ_SOAK_SLACK_KB:-256}
work=$(mktemp -d "$ZQ_SANDBOX_DIR/soak.XXXXXX")

# Only the lines the analysis reads leave grep; Wine's trace is mostly other
# calls. Line-buffered, so the "exit" mark reaches the analysis at once.
WINEDEBUG=+gdi wine "$program" "$cycles" --marks >"$work/figures" \
  2> >(LC_ALL=C grep -a --line-buffered -E 'zq-soak|allocated NTGDI|freed NTGDI|delayed' |
       "$PYTHON" "$(dirname "$0")/gdi_trace.py" >"$work/gdi")
rc=$?
cat "$work/figures"
[ "$rc" = 0 ] || die "$(basename "$program") exited with $rc"

# The analysis finishes at the program's "exit" mark.
wait_until 60 grep -q '^verdict' "$work/gdi"
cat "$work/gdi"
grep -q '^verdict ok' "$work/gdi" || die "GDI objects: $(grep '^verdict' "$work/gdi" || echo 'no verdict')"

for what in working_set private; do
  start=$(figure "$work/figures" "${what}_start_kb") end=$(figure "$work/figures" "${what}_end_kb")
  [ -n "$start" ] && [ -n "$end" ] || die "no $what figures"
  [ $((${end%.*} - ${start%.*})) -le "$slack_kb" ] ||
    die "$what grew from $start KiB to $end KiB over $cycles cycles (slack $slack_kb KiB)"
done
echo "soak: $(basename "$program"): $cycles cycles, GDI objects and memory flat"
