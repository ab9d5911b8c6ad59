"""Formats the benchmark figures of scripts/bench.sh as one table with the
targets. Input files hold `name value` lines and `desktop|subject|own|wine|pss`
lines; other lines are ignored."""
import math
import sys

values = {}
desktop = []
for path in sys.argv[1:]:
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith("desktop|"):
                _, name, own, wine, pss = line.split("|")
                desktop.append((name, float(own), float(wine), float(pss)))
                continue
            parts = line.split()
            if len(parts) == 2:
                try:
                    values[parts[0]] = float(parts[1])
                except ValueError:
                    pass


def get(name):
    return values.get(name, math.nan)


def verdict(measured, limit, unit):
    if math.isnan(measured):
        return "not measured"
    if measured <= limit:
        return f"met ({measured:.3g} {unit} <= {limit:.3g} {unit})"
    return f"MISSED by {measured - limit:.3g} {unit} ({measured:.3g} > {limit:.3g})"


rows = []
frame, bitblt, background = get("frame_ms"), get("bitblt_ms"), get("background_bitblt_ms")
parts = get("parts_sum_ms")
rows.append(("Frame: compose and present one full frame", f"{frame:.3f} ms", ""))
rows.append(("  floor: bare 349 x 366 BitBlt", f"{bitblt:.3f} ms", f"frame = {frame / bitblt:.1f} x"))
rows.append(("  floor: load background + BitBlt", f"{background:.3f} ms", f"frame = {frame / background:.2f} x"))
for key, label in (("part_background_ms", "load background, copy to new buffer"),
                   ("part_readings_ms", "the two readings"), ("part_chart_ms", "the chart: 100 lines, 20 texts"),
                   ("part_present_ms", "copy to the window")):
    rows.append((f"  part: {label}", f"{get(key):.3f} ms", ""))
rows.append(("  sum of the parts", f"{parts:.3f} ms", f"frame = {frame / parts:.2f} x"))
rows.append(("  target: frame <= 1.1 x sum of parts", "", verdict(frame, 1.1 * parts, "ms")))
tick = get("tick_us")
rows.append(("Tick: SampleLoad, mean of 10,000", f"{tick:.1f} us", verdict(tick, 20.0, "us")))
rows.append(("Start: process start to first painted frame", f"{get('start_ms_median'):.0f} ms", "median of 5"))

rounds = int(get("desktop_rounds")) if not math.isnan(get("desktop_rounds")) else 0
rows.append((f"On the desktop (median of {rounds}, {get('desktop_window_s'):.0f} s)", "CPU s/min", "Wine's own CPU s/min, PSS"))
for name, own, wine, pss in desktop:
    wine_text = "-" if math.isnan(wine) else f"{wine:.3f}"
    rows.append((f"  {name}", f"{own:.3f}", f"{wine_text}, {pss:.1f} MB"))
gadget = next((d for d in desktop if d[0].startswith("Zelvaquint")), None)
if gadget:
    rows.append(("  target: gadget PSS <= 10 MB", "", verdict(gadget[3], 10.0, "MB")))

width = max(len(r[0]) for r in rows) + 2
for label, figure, note in rows:
    print(f"{label:<{width}}{figure:>12}   {note}")
