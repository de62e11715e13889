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
