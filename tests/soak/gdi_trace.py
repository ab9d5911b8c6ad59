#!/usr/bin/python3
"""Reads Wine's gdi trace of a soak program (WINEDEBUG=+gdi, stderr) from
stdin and checks that the program's GDI objects stay flat.

The program marks its phases on the same stream ("zq-soak TID start",
"begin", "cycle N", "end", "exit"). Wine reports each handle with the
process's count of handles in use:

  TID:trace:gdi:alloc_gdi_handle allocated NTGDI_OBJ_BITMAP 0x... 73/65536
  TID:trace:gdi:free_gdi_handle freed NTGDI_OBJ_MEMDC 0x... 73/65536
  TID:trace:gdi:NtGdiDeleteObjectApp delayed for 0x... because object in use, count 1

"allocated" prints the count after the new handle, "freed" the count before
the handle goes. Only the marking thread's lines count. Checks:
  - no delete is ever delayed because the object is still selected;
  - the live count is the same at every cycle boundary, and at the end, as
    after the warm-up;
  - every cycle allocates the same objects.
Prints "name value" figures, then "verdict ok" or "verdict FAILED: ...".
Reads until the "exit" mark (or the end of input), so that Wine's helper
processes, which keep the stream open, do not hold it up.
"""
import collections
import re
import sys

MARK = re.compile(r"^zq-soak ([0-9a-f]+) (\w+)(?: (\d+))?$")
HANDLE = re.compile(r"^([0-9a-f]+):trace:gdi:\w+ (allocated|freed) (\w+) 0x[0-9a-f]+ (\d+)/\d+$")
DELAYED = re.compile(r"^([0-9a-f]+):.*(delayed for 0x[0-9a-f]+ because object in use|executing delayed DeleteObject)")


def main():
    tid = None
    live = None  # handles in use, as of the last line of the marking thread
    phase = "before start"
    begin_live = end_live = exit_live = None
    boundary_lives = collections.Counter()
    cycle_allocs = None  # Counter of types allocated in the current cycle
    cycles = collections.Counter()  # frozen per-cycle allocation -> number of cycles
    example = {}
    delayed = []
    cycle_no = None

    def close_cycle():
        if cycle_allocs is not None:
            key = tuple(sorted(cycle_allocs.items()))
            cycles[key] += 1
            example.setdefault(key, cycle_no)

    for raw in sys.stdin:
        line = raw.rstrip("\r\n")
        m = MARK.match(line)
        if m:
            if tid is None:
                tid = m.group(1)
            if m.group(1) != tid:
                continue
            what = m.group(2)
            if what == "begin":
                begin_live = live
            elif what == "cycle":
                close_cycle()
                cycle_no = int(m.group(3))
                cycle_allocs = collections.Counter()
                boundary_lives[live] += 1
            elif what == "end":
                close_cycle()
                cycle_allocs = None
                end_live = live
            elif what == "exit":
                exit_live = live
                phase = what
                break
            phase = what
            continue
        if tid is None:
            continue
        d = DELAYED.match(line)
        if d and d.group(1) == tid:
            delayed.append(f"{phase}: {line}")
            continue
        h = HANDLE.match(line)
        if not h or h.group(1) != tid:
            continue
        count = int(h.group(4))
        if h.group(2) == "allocated":
            live = count
            if cycle_allocs is not None:
                cycle_allocs[h.group(3)] += 1
        else:
            live = count - 1

    failures = []
    if tid is None or begin_live is None or end_live is None:
        failures.append(f"the trace stops {phase}: no complete run")
    print(f"gdi_objects_after_warmup {begin_live}")
    print(f"gdi_objects_at_end {end_live}")
    print(f"gdi_objects_after_teardown {exit_live}")
    print(f"gdi_cycles {sum(cycles.values())}")
    for key, n in cycles.most_common():
        allocs = ", ".join(f"{t.replace('NTGDI_OBJ_', '')} {c}" for t, c in key) or "none"
        print(f"gdi_allocations_per_cycle {sum(c for _, c in key)} ({allocs}) in {n} cycles, e.g. cycle {example[key]}")
    print(f"gdi_delayed_deletes {len(delayed)}")
    for line in delayed[:10]:
        print(f"  {line}")

    if delayed:
        failures.append(f"{len(delayed)} deletes of objects still selected")
    if len(cycles) > 1:
        failures.append("the cycles do not all allocate the same objects")
    if cycles and not any(sum(c for _, c in key) for key in cycles):
        failures.append("the cycles allocate nothing: no paint happened")
    if begin_live is not None and end_live != begin_live:
        failures.append(f"{begin_live} objects after the warm-up, {end_live} at the end")
    drift = sorted(n for n in boundary_lives if n != begin_live)
    if drift:
        shown = ", ".join(map(str, drift[:5])) + (", ..." if len(drift) > 5 else "")
        failures.append(f"the count between cycles strays from {begin_live} to {shown}")
    print("verdict " + ("ok" if not failures else "FAILED: " + "; ".join(failures)))
    sys.stdout.flush()
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
