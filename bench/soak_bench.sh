#!/usr/bin/env bash
# soak_bench.sh [--cycles N] PROGRAM... -- runs inside scripts/wine-sandbox.
#
# The soak programs as a benchmark (default 100,000 cycles each). Each runs
# twice: bare, for memory and the time per tick and paint, and under Wine's
# gdi trace (through the soak test's own checks), for the GDI objects, which
# Wine counts nowhere else. Traced runs are several times slower; their
# times are not reported. Prints one table at the end.
#
# By hand, from a build folder:
#   scripts/wine-sandbox bash bench/soak_bench.sh --cycles 100000 \
#     build/win-x86_64/tests/soak/monitor_soak.exe build/win-x86_64/tests/soak/button_soak.exe
# or: cmake --build build/win-x86_64 --target soak_bench
source "$(dirname "$0")/../tests/support/shell-test.sh"
cycles=100000
if [ "${1:-}" = --cycles ]; then cycles=$2; shift 2; fi
[ $# -gt 0 ] || { echo "usage: soak_bench.sh [--cycles N] PROGRAM..." >&2; exit 2; }

work=$ZQ_SANDBOX_DIR
status=0
rows=()
for program in "$@"; do
  name=$(basename "$program" .exe)
  echo "== $name: $cycles cycles, bare" >&2
  wine "$program" "$cycles" >"$work/$name.bare" 2>/dev/null || { echo "$name failed" >&2; status=1; }
  echo "== $name: $cycles cycles, under the gdi trace" >&2
  bash "$ZQ_ROOT/tests/soak/soak.sh" "$program" "$cycles" >"$work/$name.traced" 2>&1 || status=1
  f() { figure "$work/$name.$1" "$2"; }
  verdict=$(sed -n 's/^verdict //p' "$work/$name.traced")
  rows+=("$(printf '%-13s %8s %6s %6s %9s %9s %9s %9s %8s %9s  %s' "$name" "$cycles" \
    "$(f traced gdi_objects_after_warmup)" "$(f traced gdi_objects_at_end)" \
    "$(f bare working_set_start_kb)" "$(f bare working_set_end_kb)" \
    "$(f bare private_start_kb)" "$(f bare private_end_kb)" \
    "$(f bare tick_us)" "$(f bare paint_us)" "${verdict:-no verdict}")")
  grep -E '^gdi_allocations_per_cycle|^gdi_delayed' "$work/$name.traced" | sed "s/^/$name: /"
done

echo
printf '%-13s %8s %6s %6s %9s %9s %9s %9s %8s %9s  %s\n' program cycles "GDI" "GDI" \
  "WS KiB" "WS KiB" "priv KiB" "priv KiB" "tick µs" "paint µs" "GDI verdict"
printf '%-13s %8s %6s %6s %9s %9s %9s %9s %8s %9s\n' "" "" start end start end start end "" ""
printf '%s\n' "${rows[@]}"
exit $status
