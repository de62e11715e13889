"""The two settings dialogs from the tray menu: a new hot key works at once, and the next new
note takes the new defaults."""

import os
import re
import time

import database
from desktop import wait_until
from test_dialog_stacking import assert_above_every_note, wait_for_window
from test_tray import note_windows, open_menu_with_keys, settle

SETTINGS_MENU = ["Down", "Down", "Down", "Right"]  # past Notes Manager and Notes


def setting(path, name):
    match = re.search(" " + name + "=" + re.escape(database.OPEN) + "(.*?)" + re.escape(database.CLOSE),
                      database.read_text(path))
    return match.group(1) if match else None


def note_ids(desktop):
    return {int(w) for w in note_windows(desktop)}


def test_new_note_hot_key_changed_in_app_settings_works_at_once(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    settle(app, desktop)
    notes = note_ids(desktop)

    open_menu_with_keys(desktop, app, SETTINGS_MENU + ["Return"])  # App Settings
    dialog = wait_for_window(desktop, "^Brightpost Settings$")
    assert_above_every_note(desktop, dialog, notes, "Brightpost Settings")
    drawn = desktop.pixels(dialog)
    desktop.run("xdotool", "key", "alt+n")  # to the New Note control
    assert desktop.wait_redrawn(dialog, drawn)
    drawn = desktop.pixels(dialog)
    desktop.run("xdotool", "key", "ctrl+alt+k")
    assert desktop.wait_redrawn(dialog, drawn)
    desktop.screenshot(os.path.join(artifacts, "app-settings.png"), dialog)
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Brightpost Settings$"), 10)
    assert wait_until(lambda: setting(app.database, "hkNewNote") == str(75 * 65536 + 6), 10)

    desktop.run("xdotool", "key", "ctrl+alt+k")
    assert wait_until(lambda: len(note_ids(desktop) - notes) == 1, 10), "Ctrl+Alt+K made no note"
    now = note_ids(desktop)
    desktop.run("xdotool", "key", "ctrl+alt+n")
    # No note may follow: nothing to wait for, so the test gives one two seconds to appear.
    time.sleep(2)
    assert note_ids(desktop) == now, "Ctrl+Alt+N still makes notes"
    assert len(database.notes(app.database)) == len(now)
    assert app.terminate() == 0


def test_body_colour_chosen_in_notes_settings_colours_the_next_note(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    settle(app, desktop)
    notes = note_ids(desktop)
    before = set(database.notes(app.database))

    open_menu_with_keys(desktop, app, SETTINGS_MENU + ["Down", "Return"])  # Notes Settings
    dialog = wait_for_window(desktop, "^Notes Settings$")
    assert_above_every_note(desktop, dialog, notes, "Notes Settings")
    drawn = desktop.pixels(dialog)
    desktop.run("xdotool", "key", "alt+d")  # random colours off
    assert desktop.wait_redrawn(dialog, drawn)
    desktop.run("xdotool", "key", "alt+l")  # "Color"
    chooser = wait_for_window(desktop, "^Select Color$")
    assert_above_every_note(desktop, chooser, notes, "the colour chooser")
    assert desktop.wait_drawn(chooser)
    desktop.run("xdotool", "key", "alt+h", "ctrl+a")
    desktop.run("xdotool", "type", "--delay", "30", "#3366cc")
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Select Color$"), 10)
    assert desktop.wait_drawn(dialog)
    desktop.screenshot(os.path.join(artifacts, "notes-settings.png"), dialog)
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Notes Settings$"), 10)
    chosen = 0x33 + 0x66 * 256 + 0xCC * 65536
    assert wait_until(lambda: setting(app.database, "RandomColors") == "0", 10)
    assert setting(app.database, "bodyBackColor") == str(chosen)

    desktop.run("xdotool", "key", "ctrl+alt+n")
    assert wait_until(lambda: len(set(database.notes(app.database)) - before) == 1, 10)
    (new,) = set(database.notes(app.database)) - before
    made = database.notes(app.database)[new]
    assert made["bodyBackColor"] == str(chosen)
    assert made["titleBackColor"] == str(chosen)
    assert app.terminate() == 0
