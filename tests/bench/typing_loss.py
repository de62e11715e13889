#!/usr/bin/env python3
"""How much typing a kill costs, and how often the program saves while typing goes on.

Runs the real program on a private X desktop (the harness of tests/e2e), types numbered
words into a note with xdotool and
  - kills it with SIGKILL at a random moment while typing goes on, then reads which words
    the database kept: the loss is the time between the last kept word and the kill;
  - types for a minute without a pause and counts the saves (each replaces the file).

usage: tests/bench/typing_loss.py [BINARY] [--runs N] [--minute SECONDS]
"""

import argparse
import os
import random
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))

import database  # noqa: E402
from desktop import DesktopSession, wait_until  # noqa: E402


def start(session, binary, data_dir):
    process = subprocess.Popen([binary, "--data-dir", data_dir], env=session.env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    session.processes.append(process)
    windows = wait_until(lambda: session.visible_windows("Regular Priority Note"), 30)
    if not windows:
        raise RuntimeError("no note appeared")
    g = session.window_geometry(windows[0])
    session.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 80), "click", "1")
    time.sleep(0.3)
    return process


def type_words(session, until, first=0):
    """Types "w0001 " ... until the monotonic time until; gives [(number, typed_at)]."""
    typed = []
    n = first
    while time.monotonic() < until:
        n += 1
        session.run("xdotool", "type", "--delay", "15", f"w{n:04d} ")
        typed.append((n, time.monotonic()))
    return typed


def kill_run(binary, rng):
    session = DesktopSession().start()
    data_dir = tempfile.mkdtemp(prefix="bp-loss-")
    try:
        process = start(session, binary, data_dir)
        kill_at = time.monotonic() + rng.uniform(3.0, 12.0)
        typed = type_words(session, kill_at)
        process.kill()
        killed = time.monotonic()
        process.wait()
        body = database.notes(os.path.join(data_dir, "Brightpost.dat"))[2]["body"] or ""
        kept = [int(m) for m in re.findall(r"w(\d{4})", body)]
        last_kept = max(kept) if kept else 0
        kept_at = dict(typed).get(last_kept, None)
        start_time = typed[0][1] if typed else killed
        lost_since = kept_at if kept_at is not None else start_time
        return len(typed), last_kept, killed - lost_since
    finally:
        session.stop()
        subprocess.run(["rm", "-rf", data_dir])


def saves_while_typing(binary, seconds):
    session = DesktopSession().start()
    data_dir = tempfile.mkdtemp(prefix="bp-rate-")
    path = os.path.join(data_dir, "Brightpost.dat")
    try:
        process = start(session, binary, data_dir)
        inode = os.stat(path).st_ino
        saves = 0
        end = time.monotonic() + seconds
        n = 0
        while time.monotonic() < end:
            n += 1
            session.run("xdotool", "type", "--delay", "15", f"w{n:04d} ")
            try:
                current = os.stat(path).st_ino
            except FileNotFoundError:
                continue
            if current != inode:
                saves += 1
                inode = current
        process.terminate()
        process.wait()
        return saves * 60.0 / seconds, n
    finally:
        session.stop()
        subprocess.run(["rm", "-rf", data_dir])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("binary", nargs="?", default=os.path.join(ROOT, "build", "brightpost"))
    parser.add_argument("--runs", type=int, default=8)
    parser.add_argument("--minute", type=int, default=60)
    args = parser.parse_args()
    rng = random.Random(20261210)
    losses = []
    print("| run | words typed | last word kept | typing lost (s) |")
    print("|---|---|---|---|")
    for run in range(args.runs):
        typed, kept, lost = kill_run(args.binary, rng)
        losses.append(lost)
        print(f"| {run + 1} | {typed} | {kept} | {lost:.2f} |", flush=True)
    print(f"\nlargest loss while typing went on: {max(losses):.2f} s")
    rate, words = saves_while_typing(args.binary, args.minute)
    print(f"saves per minute while typing without a pause ({words} words in {args.minute} s): "
          f"{rate:.1f}")


if __name__ == "__main__":
    main()
