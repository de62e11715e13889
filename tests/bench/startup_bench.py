#!/usr/bin/env python3
"""Times the real program starting with N notes on a throw-away X desktop.

For each N: time from exec until all N note windows are managed by the window manager,
peak memory (VmHWM) and CPU used while idle afterwards. With --alarms every note carries a
daily alarm that is not due during the run, so the idle figure shows what checking them costs.
With --xpad the same is measured for xpad (Debian's package) with the same number of notes of
the same text, places and sizes, started with its own configuration in a throw-away home, for a
comparison made on the same machine in the same run. Usage:

    startup_bench.py [--binary build/brightpost] [--counts 10,100,1000] [--idle 10] [--alarms]
                     [--xpad]
"""

import argparse
import os
import shutil
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


def place(i):
    return 20 + (i * 37) % 1600, 30 + (i * 53) % 800, 230, 175


def plain_text(size):
    words = ("remember the milk call back tomorrow meeting notes draft ideas ").split()
    return " ".join(words[i % len(words)] for i in range(size // 6))[:size]


def brightpost_command(binary, data_dir, count, alarms, env):
    text = database.with_notes(TEMPLATE, count, body=rtf_body(2048), geometry=place)
    if alarms:
        text = with_alarms(text)
    database.write_text(os.path.join(data_dir, "Brightpost.dat"), text)
    return [binary, "--data-dir", data_dir], env


def xpad_command(home, count, env):
    """xpad keeps one info and one content file a note in ~/.config/xpad."""
    folder = os.path.join(home, ".config", "xpad")
    os.makedirs(folder)
    text = plain_text(2048)
    for i in range(count):
        x, y, w, h = place(i)
        with open(os.path.join(folder, f"content-{i:06d}"), "w") as f:
            f.write(text)
        with open(os.path.join(folder, f"info-{i:06d}"), "w") as f:
            f.write(f"width {w}\nheight {h}\nx {x}\ny {y}\nfollow_font 1\nfollow_color 1\n"
                    f"sticky 0\nhidden 0\ncontent content-{i:06d}\n")
    env = dict(env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"),
               XDG_DATA_HOME=os.path.join(home, ".local", "share"))
    return ["xpad"], env


def measure(binary, count, idle_seconds, alarms=False, xpad=False):
    session = DesktopSession(geometry="1920x1080x24").start()
    data_dir = tempfile.mkdtemp(prefix="bp-bench-")
    try:
        if xpad:
            command, env = xpad_command(data_dir, count, session.env)
        else:
            command, env = brightpost_command(binary, data_dir, count, alarms, session.env)
        baseline = managed_windows(session)
        begin = time.monotonic()
        process = subprocess.Popen(command, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        session.processes.append(process)
        mapped = wait_until(lambda: managed_windows(session) - baseline >= count, timeout=300, interval=0.02)
        elapsed = time.monotonic() - begin
        if not mapped:
            raise RuntimeError(f"only {managed_windows(session) - baseline} of {count} windows appeared")
        # Let the window manager's and the program's own follow-up work (first paints) end.
        time.sleep(3.0)
        start_cpu = cpu_seconds(process.pid)
        time.sleep(idle_seconds)
        idle = (cpu_seconds(process.pid) - start_cpu) / idle_seconds * 100
        peak_mb = proc_status(process.pid, "VmHWM") / 1024
        process.terminate()
        try:
            process.wait(timeout=60)
        except subprocess.TimeoutExpired:
            # xpad may take long over a thousand notes; the figures are taken already.
            process.kill()
            process.wait()
        return elapsed, peak_mb, idle
    finally:
        session.stop()
        shutil.rmtree(data_dir, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--binary", default=os.path.join(ROOT, "build", "brightpost"))
    parser.add_argument("--counts", default="10,100,1000")
    parser.add_argument("--idle", type=float, default=10)
    parser.add_argument("--alarms", action="store_true", help="every note has an alarm, not due")
    parser.add_argument("--xpad", action="store_true", help="measure xpad instead, for comparison")
    args = parser.parse_args()
    if args.xpad and not shutil.which("xpad"):
        sys.exit("xpad is not installed (apt-get install xpad); it is only needed for --xpad")
    print("xpad" if args.xpad else args.binary)
    print(f"{'notes':>6} {'mapped (s)':>11} {'peak (MB)':>10} {'idle CPU (%)':>13}")
    for count in (int(c) for c in args.counts.split(",")):
        elapsed, peak, idle = measure(args.binary, count, args.idle, args.alarms, args.xpad)
        print(f"{count:>6} {elapsed:>11.2f} {peak:>10.0f} {idle:>13.2f}", flush=True)


if __name__ == "__main__":
    main()
