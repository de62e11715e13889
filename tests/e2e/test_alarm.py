"""An alarm written into the database before start rings on a real desktop."""

import os
import time

import database
from desktop import wait_until
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
                                                          REGULAR[1] + 175, 300, 120)
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

    desktop.run("xdotool", "mousemove", str(g["x"] + 150), str(g["y"] + 62), "click", "1")
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
