"""The alarm settings dialog opened from a note's alarm button on a real desktop: it comes up
above every note as the active window, Escape leaves the alarm alone, OK writes it, and OK
with nothing changed keeps a recurring alarm as it was."""

import datetime
import os
import shutil
import time

import database
from conftest import ROOT
from desktop import wait_until
from test_dialog_stacking import assert_above_every_note, wait_for_window
from test_notes import SAMPLES, note_window

SAMPLE_REMIND_TIME = "1511808780"
DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")


def click_alarm_button(desktop, nid):
    x, y = SAMPLES[nid][1]
    # The alarm button is the third of the title bar's left-hand buttons.
    desktop.run("xdotool", "mousemove", str(x + 42), str(y + 8), "sleep", "0.2", "click", "1")


def test_alarm_dialog_opens_above_the_notes_and_writes_only_on_ok(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    notes = [int(note_window(desktop, title)) for title, _ in SAMPLES.values()]

    click_alarm_button(desktop, 2)
    dialog = wait_for_window(desktop, "^Alarm Settings$")
    assert_above_every_note(desktop, dialog, notes, "the alarm dialog")
    desktop.screenshot(os.path.join(artifacts, "alarm-dialog.png"))
    desktop.run("xdotool", "key", "Escape")
    assert wait_until(lambda: not desktop.visible_windows("^Alarm Settings$"), 10)

    click_alarm_button(desktop, 2)
    dialog = wait_for_window(desktop, "^Alarm Settings$")
    assert wait_until(lambda: desktop.run("xdotool", "getactivewindow").stdout.strip() == str(dialog), 10)
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Alarm Settings$"), 10)
    assert app.terminate() == 0

    notes_stored = database.notes(app.database)
    regular = notes_stored[2]
    # A one-time alarm for the moment the dialog opened; it may have rung already.
    assert regular["remindTime"] != SAMPLE_REMIND_TIME
    assert regular["remindAction"] == "3"
    assert regular["schedule"] == ";!;!;!"
    for untouched in (1, 3):
        assert notes_stored[untouched]["remindTime"] == SAMPLE_REMIND_TIME
        assert notes_stored[untouched]["isReminder"] == "0"


ALARM_ATTRIBUTES = ("isReminder", "remindRepeat", "remindAction", "remindTime", "remindTime1",
                    "remindTime2", "schedule", "repeatEach", "remindSnoozeTime", "remindRepeatTimes",
                    "remindRepeatInterval", "remindRepeatInterval2", "remindFlashTimes",
                    "remindFlashInterval", "remindWav", "remindUrl", "remindExe")


def next_eleventh_at_nine():
    """The stored time of the next 11th of a month, 09:00 local time."""
    now = datetime.datetime.now()
    year, month = (now.year, now.month + 1) if now.day >= 11 else (now.year, now.month)
    if month > 12:
        year, month = year + 1, 1
    return int(time.mktime(datetime.datetime(year, month, 11, 9, 0).timetuple()))


def test_ok_with_nothing_changed_keeps_a_monthly_alarm(start, data_dir, desktop, artifacts):
    path = os.path.join(data_dir, "Brightpost.dat")
    shutil.copyfile(DEFAULT_DATABASE, path)
    monthly = {"isReminder": 2, "schedule": ";11;!;!;!", "remindTime": next_eleventh_at_nine(),
               "remindAction": 3, "remindSnoozeTime": 300000}

    def make_monthly(element):
        if database.attribute(element, "nid") != "2":
            return element
        for name, value in monthly.items():
            element = database.set_attribute(element, name, value)
        return element

    database.edit_notes(path, make_monthly)
    before = {name: database.notes(path)[2][name] for name in ALARM_ATTRIBUTES}
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, SAMPLES[2][0])
    click_alarm_button(desktop, 2)
    dialog = wait_for_window(desktop, "^Alarm Settings$")
    assert wait_until(lambda: desktop.run("xdotool", "getactivewindow").stdout.strip() == str(dialog), 10)
    desktop.screenshot(os.path.join(artifacts, "alarm-dialog-monthly.png"), dialog)
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Alarm Settings$"), 10)
    assert app.terminate() == 0

    after = database.notes(app.database)[2]
    assert {name: after[name] for name in ALARM_ATTRIBUTES} == before


STOP_ALARM_WINDOW = "^Brightpost alarm$"


def open_alarm_dialog(desktop, nid):
    click_alarm_button(desktop, nid)
    dialog = wait_for_window(desktop, "^Alarm Settings$")
    assert wait_until(lambda: desktop.run("xdotool", "getactivewindow").stdout.strip() == str(dialog), 10)
    return dialog


def press_ok(desktop):
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Alarm Settings$"), 10)


def test_a_monthly_alarm_set_in_the_dialog_rings_on_its_day_and_stays_monthly(
        start, data_dir, desktop, artifacts):
    env = dict(desktop.env, TZ="UTC")
    app = start(data_dir, env=env)
    app.wait_ready()
    note_window(desktop, SAMPLES[2][0])
    dialog = open_alarm_dialog(desktop, 2)
    # Today at the moment the dialog opened, every month: that moment has passed by OK, so
    # today's ringing comes at once.
    today = datetime.datetime.now(datetime.timezone.utc)
    desktop.run("xdotool", "key", "alt+r", "Down", "Down")
    assert desktop.wait_drawn(dialog)
    desktop.screenshot(os.path.join(artifacts, "alarm-dialog-monthly-choice.png"), dialog)
    press_ok(desktop)

    stop_alarm = wait_for_window(desktop, STOP_ALARM_WINDOW, timeout=30)
    monthly = f";{today.day};!;!;!"

    def rang_and_moved_on():
        stored = database.notes(app.database)[2]
        return stored["schedule"] == monthly and int(stored["remindTime"]) > time.time() + 20 * 86400

    assert wait_until(rang_and_moved_on, 15), database.notes(app.database)[2]
    stored = database.notes(app.database)[2]
    assert stored["isReminder"] == "2"
    next_ringing = datetime.datetime.fromtimestamp(int(stored["remindTime"]), datetime.timezone.utc)
    assert next_ringing.day == today.day
    assert (next_ringing.year, next_ringing.month) > (today.year, today.month)

    # Stopped, then opened again and confirmed: still the same monthly alarm.
    g = desktop.window_geometry(stop_alarm)
    desktop.run("xdotool", "mousemove", str(g["x"] + 150), str(g["y"] + 62), "click", "1")
    assert wait_until(lambda: not desktop.visible_windows(STOP_ALARM_WINDOW), 10)
    assert wait_until(lambda: desktop.visible_windows(f"^{SAMPLES[2][0]}$"), 10)
    open_alarm_dialog(desktop, 2)
    press_ok(desktop)
    assert app.terminate() == 0
    after = database.notes(app.database)[2]
    assert (after["isReminder"], after["schedule"], after["remindTime"]) == (
        "2", monthly, stored["remindTime"])


def test_a_snooze_length_of_five_minutes(start, data_dir, desktop):
    env = dict(desktop.env, TZ="UTC")
    first = start(data_dir, env=env)
    first.wait_ready()
    assert first.terminate() == 0
    rings_at = int(time.time()) + 10
    database.set_note_attributes(first.database, 2, (
        ("isReminder", 1), ("remindTime", rings_at), ("remindAction", 1),
        ("remindSnoozeTime", 540000)))

    app = start(data_dir, env=env)
    app.wait_ready()
    note_window(desktop, SAMPLES[2][0])
    open_alarm_dialog(desktop, 2)
    # The snooze length list, its shortest entry.
    desktop.run("xdotool", "key", "alt+o", "Home")
    press_ok(desktop)

    stop_alarm = wait_for_window(desktop, STOP_ALARM_WINDOW, timeout=40)
    assert desktop.wait_drawn(stop_alarm)
    g = desktop.window_geometry(stop_alarm)
    snoozed_at = time.time()
    # SNOOZE sits under the lines that name the note.
    desktop.run("xdotool", "mousemove", str(g["x"] + 150), str(g["y"] + 92), "click", "1")
    assert wait_until(lambda: not desktop.visible_windows(STOP_ALARM_WINDOW), 10)
    assert wait_until(lambda: "remindSnoozeEnd" in database.notes(app.database)[2], 15)
    stored = database.notes(app.database)[2]
    assert stored["remindSnoozeTime"] == "300000"
    assert abs(int(stored["remindSnoozeEnd"]) - (snoozed_at + 300)) < 15
    assert app.terminate() == 0
