#!/usr/bin/env python3
"""Times the real program starting with N notes on a throw-away X desktop.

For each N: time from exec until all N note windows are managed by the window manager, the
program's own CPU by then, peak memory (VmHWM), CPU used while idle afterwards and what the X
server, the window manager and the tray spent on the program's windows meanwhile; the same for
bare_notes, plain Xlib windows at the same places with the same hints, and the ratio of the two. With --alarms every note carries a
daily alarm that is not due during the run, so the idle figure shows what checking them costs.
Usage:

    startup_bench.py [--binary build/brightpost] [--bare build/tests/bare_notes] [--counts 10,100,1000]
                      [--repeat 1] [--idle 10] [--alarms] [--perf perf.data] [--xpad]
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import database  # noqa: E402
from desktop import DesktopSession, wait_until  # noqa: E402

TEMPLATE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")


def rtf_body(size):
    words = ("remember the milk call back tomorrow meeting notes draft ideas ").split()
    text, i = [], 0
    while sum(len(w) + 1 for w in text) < size - 120:
        text.append(words[i % len(words)])
        i += 1
    return ("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
            "\\viewkind4\\uc1\\pard\\f0\\fs20 " + " ".join(text) + "\\par\r\n}")


def managed_windows(session):
    out = session.run("xprop", "-root", "_NET_CLIENT_LIST").stdout
    return 0 if "#" not in out else len(out.split("#", 1)[1].split(","))


def proc_status(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def with_alarms(text):
    """Every note rings daily, starting tomorrow: on, with actions, never due while measured."""
    tomorrow = int(time.time()) + 86400
    for element in database.note_elements(text):
        changed = element
        for name, value in (("isReminder", 2), ("remindTime", tomorrow), ("schedule", ";!;!;!"),
                            ("remindAction", 3)):
            changed = database.set_attribute(changed, name, value)
        text = text.replace(element, changed, 1)
    return text


def geometry(i):
    return 20 + (i * 37) % 1600, 30 + (i * 53) % 800, 230, 175


def start_brightpost(binary, session, count, alarms, perf=None):
    data_dir = tempfile.mkdtemp(prefix="bp-bench-")
    text = database.with_notes(TEMPLATE, count, body=rtf_body(2048), geometry=geometry)
    if alarms:
        text = with_alarms(text)
    database.write_text(os.path.join(data_dir, "Brightpost.dat"), text)
    # Under perf the figures are perf's and the program's together; the profile is the point.
    prefix = ["perf", "record", "-F", "499", "--call-graph", "dwarf,32768", "-o", perf, "--"] if perf else []
    process = subprocess.Popen(prefix + [binary, "--data-dir", data_dir], env=session.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return process, data_dir


def start_bare(binary, session, count):
    process = subprocess.Popen([binary], env=session.env, stdin=subprocess.PIPE,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    lines = "".join("%d %d %d %d Note %d\n" % (*geometry(i), i + 1) for i in range(count))
    process.stdin.write(lines.encode())
    process.stdin.close()
    return process, None


def plain_text(size):
    words = ("remember the milk call back tomorrow meeting notes draft ideas ").split()
    return " ".join(words[i % len(words)] for i in range(size // 6))[:size]


def start_xpad(session, count):
    """xpad, for comparison: one info and one content file a note in a throw-away home."""
    home = tempfile.mkdtemp(prefix="bp-bench-xpad-")
    folder = os.path.join(home, ".config", "xpad")
    os.makedirs(folder)
    text = plain_text(2048)
    for i in range(count):
        x, y, w, h = geometry(i)
        with open(os.path.join(folder, f"content-{i:06d}"), "w") as f:
            f.write(text)
        with open(os.path.join(folder, f"info-{i:06d}"), "w") as f:
            f.write(f"width {w}\nheight {h}\nx {x}\ny {y}\nfollow_font 1\nfollow_color 1\n"
                    f"sticky 0\nhidden 0\ncontent content-{i:06d}\n")
    env = dict(session.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local", "share"))
    process = subprocess.Popen(["xpad"], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    return process, home


def measure(start, count, idle_seconds):
    """Seconds until count windows are managed, the program's CPU seconds by then, its peak
    memory (MB), its idle CPU (% of a core) afterwards, and the CPU seconds the X server, the
    window manager and the tray spent meanwhile."""
    session = DesktopSession(geometry="1920x1080x24").start()
    data_dir = None
    try:
        baseline = managed_windows(session)
        desktop = list(session.processes)

        def desktop_cpu_seconds():
            return sum(cpu_seconds(p.pid) for p in desktop)

        desktop_before = desktop_cpu_seconds()
        begin = time.monotonic()
        process, data_dir = start(session)
        session.processes.append(process)
        # Each look lists every window through xprop; with thousands of them, looking every
        # 20 ms would itself load the X server and the two cores the programs need.
        mapped = wait_until(lambda: managed_windows(session) - baseline >= count, timeout=900,
                            interval=max(0.02, count / 40000))
        elapsed = time.monotonic() - begin
        own_cpu = cpu_seconds(process.pid)
        desktop_cpu = desktop_cpu_seconds() - desktop_before
        if not mapped:
            raise RuntimeError(f"only {managed_windows(session) - baseline} of {count} windows appeared")
        idle = float("nan")
        if idle_seconds > 0:
            # Let the window manager's and the program's own follow-up work (first paints) end.
            time.sleep(3.0)
            start_cpu = cpu_seconds(process.pid)
            time.sleep(idle_seconds)
            idle = (cpu_seconds(process.pid) - start_cpu) / idle_seconds * 100
        peak_mb = proc_status(process.pid, "VmHWM") / 1024
        # perf writes its profile once the program it watches has ended.
        if process.args[0] == "perf":
            for child in subprocess.run(["pgrep", "-P", str(process.pid)], capture_output=True,
                                        text=True).stdout.split():
                os.kill(int(child), signal.SIGTERM)
        process.terminate()
        try:
            process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            # xpad may take long to end over a thousand notes; the figures are taken already.
            process.kill()
            process.wait()
        return elapsed, own_cpu, peak_mb, idle, desktop_cpu
    finally:
        session.stop()
        if data_dir:
            shutil.rmtree(data_dir, ignore_errors=True)


def span(values, form):
    low, high = min(values), max(values)
    return (form % low) if form % low == form % high else (form % low) + "–" + (form % high)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", default=os.path.join(ROOT, "build", "brightpost"))
    parser.add_argument("--bare", default=os.path.join(ROOT, "build", "tests", "bare_notes"),
                        help="the bare-Xlib floor; --bare '' leaves it out")
    parser.add_argument("--counts", default="10,100,1000")
    parser.add_argument("--repeat", type=int, default=1, help="runs of each, alternating")
    parser.add_argument("--idle", type=float, default=10, help="seconds of idle CPU; 0 skips")
    parser.add_argument("--alarms", action="store_true", help="every note has an alarm, not due")
    parser.add_argument("--perf", help="record the program's start-up with perf into this file")
    parser.add_argument("--xpad", action="store_true", help="also measure xpad, for comparison")
    args = parser.parse_args()
    if args.xpad and not shutil.which("xpad"):
        sys.exit("xpad is not installed (apt-get install xpad); it is only needed for --xpad")
    programs = [("brightpost",
                 lambda n: lambda s: start_brightpost(args.binary, s, n, args.alarms, args.perf))]
    if args.bare:
        programs.insert(0, ("bare", lambda n: lambda s: start_bare(args.bare, s, n)))
    if args.xpad:
        programs.append(("xpad", lambda n: lambda s: start_xpad(s, n)))
    print(f"{'notes':>6} {'program':>10} {'mapped (s)':>12} {'own CPU (s)':>12} {'peak (MB)':>10} "
          f"{'idle CPU (%)':>13} {'X+WM CPU (s)':>13}")
    for count in (int(c) for c in args.counts.split(",")):
        results = {name: [] for name, _ in programs}
        # Alternating the two within one repeat keeps the machine's load alike for both.
        for _ in range(args.repeat):
            for name, starter in programs:
                idle = 0 if name == "bare" else args.idle
                results[name].append(measure(starter(count), count, idle))
        for name, _ in programs:
            rows = results[name]
            idle = [r[3] for r in rows if r[3] == r[3]]
            print(f"{count:>6} {name:>10} {span([r[0] for r in rows], '%.2f'):>12} "
                  f"{span([r[1] for r in rows], '%.2f'):>12} {span([r[2] for r in rows], '%.0f'):>10} "
                  f"{(span(idle, '%.2f') if idle else '-'):>13} {span([r[4] for r in rows], '%.2f'):>13}",
                  flush=True)
        if args.bare:
            ratios = [b[0] / a[0] for a, b in zip(results["bare"], results["brightpost"])]
            print(f"{count:>6} {'ratio':>10} {span(ratios, '%.2f'):>12}", flush=True)


if __name__ == "__main__":
    main()
