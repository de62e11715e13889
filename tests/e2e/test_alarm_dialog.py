"""The alarm settings dialog opened from a note's alarm button on a real desktop: it comes up
above every note as the active window, Escape leaves the alarm alone, and OK writes it."""

import os

import database
from desktop import wait_until
from test_dialog_stacking import assert_above_every_note, wait_for_window
from test_notes import SAMPLES, note_window

SAMPLE_REMIND_TIME = "1511808780"


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
