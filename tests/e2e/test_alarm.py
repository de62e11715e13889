"""An alarm written into the database before start rings on a real desktop."""

import os
import time

import pytest

import database
from desktop import wait_until
from test_accessibility import BODY, BUS_LAUNCHER, DEFAULT_DATABASE, accessibility_bus, tree, walk
from test_notes import note_window

REGULAR = (616, 111)  # where the sample "Regular Priority Note" lies, 250 × 175
ALARM_WINDOW = "Brightpost alarm"


def visible(desktop, title):
    return bool(desktop.visible_windows(title))


def test_an_alarm_rings_flashes_and_stops(start, data_dir, desktop, artifacts):
    env = dict(desktop.env, TZ="UTC")
    first = start(data_dir, env=env)
    first.wait_ready()
    assert first.terminate() == 0

    # Daily, a few seconds after the start; pop-up and flash, no snooze.
    rings_at = int(time.time()) + 8

    database.set_note_attributes(first.database, 2, (
        ("isReminder", 2), ("remindTime", rings_at), ("schedule", ";!;!;!"), ("remindAction", 3),
        ("remindSnoozeTime", 0), ("remindFlashTimes", 100), ("remindFlashInterval", 600)))

    app = start(data_dir, env=env)
    app.wait_ready()
    note = note_window(desktop, "Regular Priority Note")
    assert not visible(desktop, ALARM_WINDOW)

    windows = wait_until(lambda: desktop.visible_windows(ALARM_WINDOW), timeout=30)
    assert windows, "the stop-alarm window did not appear"
    g = desktop.window_geometry(windows[0])
    # Centred under the note.
    assert (g["x"], g["y"], g["width"], g["height"]) == (REGULAR[0] + 125 - 150,
                                                          REGULAR[1] + 175, 300, 180)
    assert desktop.wait_drawn(windows[0])
    desktop.screenshot(os.path.join(artifacts, "stop-alarm-window.png"))
    # Above every note, the High one included, which it overlaps here.
    high = int(note_window(desktop, "High Priority Note"))
    order = desktop.stacking()
    assert order.index(int(windows[0])) > order.index(high), order

    # Flashing: the note goes and comes back, while the offer to stop stays.
    assert wait_until(lambda: not visible(desktop, "Regular Priority Note"), timeout=10)
    assert wait_until(lambda: visible(desktop, "Regular Priority Note"), timeout=10)
    assert visible(desktop, ALARM_WINDOW)

    # The firing saved the next ringing, a day on, at once.
    saved = database.notes(app.database)[2]
    assert saved["remindTime"] == str(rings_at + 86400)
    assert saved["isReminder"] == "2"

    # The stop button, below the lines that name the note.
    desktop.run("xdotool", "mousemove", str(g["x"] + 150), str(g["y"] + 122), "click", "1")
    assert wait_until(lambda: not visible(desktop, ALARM_WINDOW), timeout=10)
    # Stopping ends the flashing with the note shown.
    assert wait_until(lambda: visible(desktop, "Regular Priority Note"), timeout=5)
    # And it stays shown: the test watches for longer than two flashes (0.6 s each) to see
    # that no flash hides it again.
    time.sleep(1.5)
    assert visible(desktop, "Regular Priority Note")
    assert app.terminate() == 0
    saved = database.notes(app.database)[2]
    assert saved["remindTime"] == str(rings_at + 86400)
    assert saved["isClosed"] == "0"


def alarm_notes(data_dir, titles, due, geometry):
    """Notes with the given titles, each with the body "Buy milk" and a one-time alarm due at
    the given moment that only pops its note up, without snooze."""
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, len(titles), body=BODY,
                                                  geometry=geometry))
    for nid, title in enumerate(titles, start=1):
        database.set_note_attributes(path, nid, (
            ("title", title), ("isReminder", 1), ("remindTime", int(due)), ("schedule", ";!;!;!"),
            ("remindAction", 1), ("remindSnoozeTime", 0)))
    return path


def shown_at(due):
    """A stored moment as the program shows it to the user (the tests' zone is UTC)."""
    return time.strftime("%b %d, %Y - %I:%M:%S %p", time.gmtime(due))


def tray_tip(desktop):
    """The tray icon's tip as it shows when the pointer comes to rest on the icon."""
    icons = desktop.tray_icons()
    if not icons:
        return ""
    g = desktop.window_geometry(icons[0])
    # Off the icon first: a tip already showing keeps the text it was shown with.
    desktop.run("xdotool", "mousemove", "1000", "600")
    desktop.run("xdotool", "mousemove", str(g["x"] + g["width"] // 2), str(g["y"] + g["height"] // 2))
    tips = wait_until(lambda: [w["name"] for w in tree(desktop)
                               if w["role"] == "tool tip" and "Created notes" in w["name"]], 10)
    return tips[0] if tips else ""


def overlap(a, b):
    return (a["x"] < b["x"] + b["width"] and b["x"] < a["x"] + a["width"]
            and a["y"] < b["y"] + b["height"] and b["y"] < a["y"] + a["height"])


@pytest.mark.skipif(not os.path.exists(BUS_LAUNCHER), reason="at-spi2-core is not installed")
def test_alarms_at_once_name_their_notes_in_windows_that_stay_apart(
        start, data_dir, desktop, artifacts):
    pytest.importorskip("pyatspi")
    accessibility_bus(desktop)
    due = int(time.time()) + 8
    # Both notes in one place: their stop-alarm windows would cover each other. The first
    # one's blank title is read as "Note" and its number.
    alarm_notes(data_dir, ["   ", "Dentist"], due, geometry=lambda i: (300, 150, 250, 175))
    app = start(data_dir, env=dict(desktop.env, TZ="UTC"))
    app.wait_ready()

    windows = wait_until(lambda: len(desktop.visible_windows(ALARM_WINDOW)) == 2
                         and desktop.visible_windows(ALARM_WINDOW), timeout=30)
    assert windows, "two stop-alarm windows did not appear"
    first, second = (desktop.window_geometry(w) for w in windows)
    assert not overlap(first, second), (first, second)
    for g in (first, second):
        assert g["y"] + g["height"] <= 800 and g["x"] >= 0 and g["x"] + g["width"] <= 1280, g
    for w in windows:
        assert desktop.wait_drawn(w)
    desktop.screenshot(os.path.join(artifacts, "stacked-stop-alarm-windows.png"))

    def alarm_windows():
        found = {w["name"]: w for w in tree(desktop) if w["name"].startswith("Alarm of ")}
        return found if len(found) == 2 else None

    found = wait_until(alarm_windows, timeout=30)
    assert found and set(found) == {"Alarm of Note 1", "Alarm of Dentist"}, tree(desktop)
    for window in found.values():
        lines = {item["name"] for item in walk(window)}
        assert {"Buy milk", "Due " + shown_at(due)} <= lines, lines
    assert app.terminate() == 0


@pytest.mark.skipif(not os.path.exists(BUS_LAUNCHER), reason="at-spi2-core is not installed")
def test_an_alarm_nobody_stops_leaves_a_mark_until_its_note_is_opened(start, data_dir, desktop):
    pytest.importorskip("pyatspi")
    accessibility_bus(desktop)
    env = dict(desktop.env, TZ="UTC")
    due = int(time.time()) + 6
    path = alarm_notes(data_dir, ["Dentist"], due, geometry=lambda i: (300, 150, 250, 175))
    app = start(data_dir, env=env)
    app.wait_ready()
    assert wait_until(lambda: visible(desktop, ALARM_WINDOW), timeout=30)
    # Nobody answers: the window goes by itself after a minute.
    assert wait_until(lambda: not visible(desktop, ALARM_WINDOW), timeout=90)

    missed_line = "missed alarm: " + shown_at(due)

    def marks():
        texts = [item["name"] + "\n" + item["description"]
                 for top in tree(desktop) for item in walk(top)]
        return {
            "title tip": any(missed_line in t for t in texts),
            "manager": any("(missed)" in t for t in texts),
            "tray tip": "\n1 missed alarm" in tray_tip(desktop),
        }

    assert wait_until(lambda: all(marks().values()), timeout=20), marks()
    # The mark outlives the program.
    assert app.terminate() == 0
    assert database.notes(path)[1]["remindMissed"] == str(due)
    app = start(data_dir, env=env)
    app.wait_ready()
    assert wait_until(lambda: all(marks().values()), timeout=20), marks()

    # The user opens the note: the mark goes everywhere.
    note = note_window(desktop, "Dentist")
    g = desktop.window_geometry(note)
    desktop.run("xdotool", "mousemove", str(g["x"] + 120), str(g["y"] + 100), "click", "1")
    assert wait_until(lambda: not any(marks().values()), timeout=20), marks()
    assert app.terminate() == 0
    assert "remindMissed" not in database.notes(path)[1]
