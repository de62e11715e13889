"""Hundreds of alarms due at the same moment: they all ring while the program keeps answering
its command socket."""

import json
import os
import subprocess
import time

import database
from conftest import BINARY, ROOT
from desktop import wait_until

DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
COUNT = 1000


def test_alarms_due_at_once_ring_while_the_program_answers(start, data_dir, desktop, artifacts):
    now = int(time.time())
    path = os.path.join(data_dir, "Brightpost.dat")
    text = database.with_notes(DEFAULT_DATABASE, COUNT,
                               geometry=lambda i: ((i * 37) % 1000, 30 + (i * 23) % 560, 250, 175))
    database.write_text(path, text)

    def due(element):
        nid = int(database.attribute(element, "nid"))
        # One-time, pop-up and flash, no snooze; all due before the start, in the reverse
        # order of the notes.
        for name, value in (("isReminder", 1), ("remindTime", now - 60 - nid), ("schedule", ";!;!;!"),
                            ("remindAction", 3), ("remindSnoozeTime", 0),
                            ("remindFlashTimes", 100), ("remindFlashInterval", 600)):
            element = database.set_attribute(element, name, value)
        return element
    database.edit_notes(path, due)

    env = dict(desktop.env, TZ="UTC")
    app = start(data_dir, env=env)
    app.wait_ready(timeout=120)
    started = time.monotonic()

    # Every round trip on the command socket is answered while the alarms ring; the second
    # start waits a few seconds for the answer before it gives up.
    round_trips = []

    def saved_and_all_rung():
        before = time.monotonic()
        result = subprocess.run([BINARY, "--data-dir", data_dir, "--save"], env=env,
                                capture_output=True, text=True, timeout=60)
        round_trips.append(time.monotonic() - before)
        assert result.returncode == 0, result.stderr
        return all(n["isReminder"] == "0" for n in database.notes(path).values())

    assert wait_until(saved_and_all_rung, timeout=300, interval=0.2)
    all_rung = time.monotonic() - started
    with open(os.path.join(artifacts, "alarm-storm.json"), "w") as f:
        json.dump({"alarms": COUNT, "seconds_until_all_rung": round(all_rung, 1),
                   "round_trips": len(round_trips),
                   "slowest_round_trip_s": round(max(round_trips), 2),
                   "median_round_trip_s": round(sorted(round_trips)[len(round_trips) // 2], 2)}, f)

    # Each one rang once: the one-time alarms are off with their next time a day on.
    assert app.terminate(timeout=60) == 0
    saved = database.notes(path)
    assert all(int(n["remindTime"]) == now - 60 - nid + 86400 for nid, n in saved.items())
    # Flashing left every note shown.
    assert all(n["isClosed"] == "0" for n in saved.values())
