"""What a load display costs while it sits on the desktop.

Runs inside scripts/wine-sandbox (DISPLAY, WINEPREFIX and `wine` set) with
an accepted agreement (scripts/bench.sh sees to it). For each
subject in turn: start it, let it settle for SETTLE seconds, then count the
CPU seconds (utime + stime from /proc) of its own process over WINDOW
seconds and its PSS at the end. For the Windows subjects, Wine's own
processes of the prefix (wineserver and the helpers that start with it) are
counted apart. Prints the median of ROUNDS rounds.

usage: desktop_cost.py GADGET_EXE FLOOR_EXE [ROUNDS] [SETTLE] [WINDOW]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TICK = os.sysconf("SC_CLK_TCK")
PREFIX = os.environ["WINEPREFIX"]


def cpu_seconds(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            fields = f.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / TICK  # utime, stime
    except (FileNotFoundError, ProcessLookupError, IndexError):
        return None


def pss_kb(pid):
    try:
        with open(f"/proc/{pid}/smaps_rollup") as f:
            for line in f:
                if line.startswith("Pss:"):
                    return int(line.split()[1])
    except (FileNotFoundError, ProcessLookupError):
        pass
    return 0


def wine_pids():
    """Processes of this prefix: wineserver, the services and the program."""
    found = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/environ", "rb") as f:
                env = f.read().split(b"\0")
        except (FileNotFoundError, PermissionError, ProcessLookupError):
            continue
        if f"WINEPREFIX={PREFIX}".encode() in env:
            found.append(int(entry))
    return found


def cmdline(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return f.read().replace(b"\0", b" ").decode(errors="replace")
    except FileNotFoundError:
        return ""


def find_pid(marker, timeout=30):
    """The Windows process whose command line names `marker` (this script's
    own command line names it too, and is skipped)."""
    end = time.time() + timeout
    while time.time() < end:
        for pid in wine_pids():
            line = cmdline(pid).lower()
            if pid != os.getpid() and marker.lower() in line and "desktop_cost.py" not in line:
                return pid
        time.sleep(0.1)
    raise RuntimeError(f"no process for {marker}")


def measure(start, own_pid_of, settle, window, is_wine):
    proc = start()
    try:
        own = own_pid_of(proc)
        time.sleep(settle)
        others = [p for p in wine_pids() if p != own] if is_wine else []
        own0 = cpu_seconds(own)
        others0 = {p: cpu_seconds(p) or 0.0 for p in others}
        time.sleep(window)
        own1 = cpu_seconds(own)
        others_now = [p for p in wine_pids() if p != own] if is_wine else []
        wine_cpu = sum((cpu_seconds(p) or 0.0) - others0.get(p, 0.0) for p in others_now)
        pss = pss_kb(own)
        scale = 60.0 / window
        return (own1 - own0) * scale, wine_cpu * scale, pss / 1024.0
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
        if is_wine:
            subprocess.run(["wineserver", "-k"], check=False)
            subprocess.run(["wineserver", "-w"], check=False)


def main():
    gadget, floor = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    settle = float(sys.argv[4]) if len(sys.argv) > 4 else 10
    window = float(sys.argv[5]) if len(sys.argv) > 5 else 60

    conky_conf = tempfile.NamedTemporaryFile("w", suffix=".conf", delete=False)
    conky_conf.write("conky.config = { update_interval = 1, out_to_x = true, own_window = true,\n"
                     "  own_window_type = 'normal', double_buffer = true, background = false }\n"
                     "conky.text = [[CPU ${cpu}% MEM ${memperc}%\n${cpugraph}]]\n")
    conky_conf.close()

    def wine_start(exe):
        return lambda: subprocess.Popen(["wine", exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    subjects = [
        ("Zelvaquint (this gadget)", wine_start(gadget), lambda p: find_pid(os.path.basename(gadget)), True),
        ("bare window: 1 s timer, one BitBlt", wine_start(floor), lambda p: find_pid(os.path.basename(floor)), True),
    ]
    if shutil.which("conky"):
        subjects.append(("conky (cpu, memperc, cpugraph, 1 s)",
                         lambda: subprocess.Popen(["conky", "-c", conky_conf.name], stdout=subprocess.DEVNULL,
                                                  stderr=subprocess.DEVNULL), lambda p: p.pid, False))
    if shutil.which("xosview"):
        subjects.append(("xosview", lambda: subprocess.Popen(["xosview"], stdout=subprocess.DEVNULL,
                                                            stderr=subprocess.DEVNULL), lambda p: p.pid, False))

    results = {name: [] for name, *_ in subjects}
    for r in range(rounds):
        for name, start, own, is_wine in subjects:
            results[name].append(measure(start, own, settle, window, is_wine))
            print(f"  round {r + 1}: {name}: {results[name][-1][0]:.3f} CPU s/min", file=sys.stderr)

    # One line per subject for scripts/bench.sh: desktop|name|own|wine|pss
    for name, _, _, is_wine in subjects:
        own = statistics.median(x[0] for x in results[name])
        wine = statistics.median(x[1] for x in results[name]) if is_wine else float("nan")
        pss = statistics.median(x[2] for x in results[name])
        print(f"desktop|{name}|{own:.3f}|{wine:.3f}|{pss:.1f}")
    print(f"desktop_rounds {rounds}")
    print(f"desktop_window_s {window:.0f}")
    os.unlink(conky_conf.name)


if __name__ == "__main__":
    main()
