"""A whole day with Brightpost on a real desktop, in the order a user goes through it: the sample
notes of a new data folder, a note of their own with a bold word, its alarm set through the
dialog, ringing, snoozed and the snooze cancelled, every note closed and shown again, Find,
delete and restore, export, exit, a second start that finds everything as it was, and the
export imported into a second data folder. A screenshot of every stage goes to the artifacts."""

import os
import re
import time

import database
from desktop import wait_until
from test_notes import drag_title
from test_notes_manager import answer_yes
from test_tray import menu_windows, note_windows

SAMPLES = ["Low Priority Note", "Regular Priority Note", "High Priority Note"]
ALARM_WINDOW = "^Brightpost alarm$"
BOLD_WORD = "walrus"
SNOOZE_SLOT = 59  # the middle of the title bar's stop-snooze button, from the note's left edge


class Journey:
    def __init__(self, desktop, artifacts):
        self.desktop = desktop
        self.artifacts = artifacts
        self.stage = 0

    def shot(self, name):
        self.stage += 1
        assert self.desktop.wait_drawn()
        path = os.path.join(self.artifacts, f"journey-{self.stage:02d}-{name}.png")
        self.desktop.screenshot(path)
        return path

    def key(self, *keys):
        self.desktop.run("xdotool", "key", "--delay", "120", *keys)

    def click(self, x, y, count=1):
        self.desktop.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.2",
                         "click", "--repeat", str(count), "--delay", "80", "1")

    def shown(self, title):
        return bool(self.desktop.visible_windows(f"^{title}$"))

    def window(self, title, timeout=15):
        found = wait_until(lambda: self.desktop.visible_windows(title), timeout)
        assert found, f"no window titled {title!r}"
        return int(found[0])

    def tray_menu(self, keys, shot=None):
        """Opens the tray menu with a right click and walks it with the keyboard."""
        self.desktop.click_tray_icon(button=3)
        menus = wait_until(lambda: menu_windows(self.desktop), 10)
        assert menus, "no tray menu"
        # Drawn once it has been shown, and so has the keyboard.
        assert self.desktop.wait_drawn(next(iter(menus)))
        if shot:
            self.shot(shot)
        self.key(*keys)

    def choose_file(self, caption, path):
        """Types a path into a file dialog once it has the keyboard; on a loaded machine the
        dialog shows some time before it takes keys."""
        dialog = self.window(f"^{caption}$")
        assert wait_until(lambda: self.desktop.run("xdotool", "getactivewindow").stdout.strip()
                          == str(dialog), 15), f"the {caption} dialog is not active"
        assert self.desktop.wait_drawn(dialog)
        self.desktop.run("xdotool", "type", "--delay", "30", path)
        self.shot(caption.lower().replace(" ", "-"))
        self.key("Return")
        assert wait_until(lambda: not self.shown(caption), 15), f"the {caption} dialog stayed"

    def region(self, x, y, w, h):
        """A signature of a rectangle of the screen, to tell whether it changed."""
        path = os.path.join(self.desktop.logdir, "region.png")
        self.desktop.screenshot(path)
        return self.desktop.run("convert", path, "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                                "-format", "%#", "info:").stdout.strip()


def geometry(desktop, window):
    g = desktop.window_geometry(window)
    return g["x"], g["y"], g["width"], g["height"]


def layout(desktop):
    """(x, y, width, height) of every note on the desktop, in order."""
    return sorted(geometry(desktop, window) for window in note_windows(desktop))


def window_at(desktop, place):
    return next((w for w in note_windows(desktop) if geometry(desktop, w) == place), None)


def own_note(path):
    notes = database.notes(path)
    return next((n for n in notes.values() if BOLD_WORD in (n["body"] or "")), None)


def settings_of(text):
    """The settings section of a database text: everything before the first note."""
    return text[: text.find("\r\n<note ")]


def bold_in_body(body):
    # The bold word, and only it, is bold: "\b walrus\b0" in whatever spacing the writer uses.
    return re.search(r"\\b\s*" + BOLD_WORD + r"\s*\\b0", body or "") is not None


def test_a_whole_day(start, data_dir, desktop, artifacts, tmp_path):
    j = Journey(desktop, artifacts)
    env = dict(desktop.env, TZ="UTC")
    app = start(data_dir, env=env)
    app.wait_ready()

    # A new data folder: the three sample notes, and the Notes Manager the sample settings show.
    assert wait_until(lambda: all(j.shown(t) for t in SAMPLES), 20)
    assert wait_until(lambda: j.shown("Notes Manager"), 20)
    j.shot("sample-notes")
    j.key("ctrl+alt+m")
    assert wait_until(lambda: not j.shown("Notes Manager"), 10)

    # A double click on the tray icon makes a note; two paragraphs with one bold word.
    samples = note_windows(desktop)
    desktop.click_tray_icon(count=2)
    created = wait_until(lambda: note_windows(desktop) - samples, 10)
    assert created and len(created) == 1
    note = created.pop()
    assert desktop.wait_drawn()
    x, y, w, h = geometry(desktop, note)
    j.click(x + w // 2, y + h // 2)
    desktop.run("xdotool", "type", "--delay", "40", "A day with a ")
    j.key("ctrl+b")
    desktop.run("xdotool", "type", "--delay", "40", BOLD_WORD)
    j.key("ctrl+b")
    desktop.run("xdotool", "type", "--delay", "40", " in it.")
    j.key("Return")
    desktop.run("xdotool", "type", "--delay", "40", "Second paragraph.")
    assert wait_until(lambda: own_note(app.database) and "Second paragraph" in own_note(app.database)["body"], 20)
    assert bold_in_body(own_note(app.database)["body"]), own_note(app.database)["body"]
    nid = int(own_note(app.database)["nid"])
    # Moved somewhere of its own, clear of the samples and of the stop-alarm window's place.
    drag_title(desktop, x + 120, y + 8, 100 - x, 420 - y)
    assert wait_until(lambda: geometry(desktop, note)[:2] != (x, y), 10)
    x, y, w, h = geometry(desktop, note)
    j.shot("own-note")

    # Its alarm, a few seconds ahead, through the alarm dialog: on, with snooze.
    j.click(x + 42, y + 8)
    dialog = j.window("^Alarm Settings$")
    assert desktop.wait_active(dialog)
    assert desktop.wait_drawn(dialog)
    dg = desktop.window_geometry(dialog)
    j.shot("alarm-dialog")
    # Places in the dialog's client area.
    j.click(dg["x"] + 119, dg["y"] + 21)  # ALARM ON
    j.click(dg["x"] + 215, dg["y"] + 21)  # SNOOZE
    rings_at = int(time.time()) + 20  # typing and OK may take seconds on a loaded machine
    j.click(dg["x"] + 149, dg["y"] + 243)  # the time
    j.key("ctrl+a")
    desktop.run("xdotool", "type", "--delay", "60", time.strftime("%I:%M:%S %p", time.gmtime(rings_at)))
    j.shot("alarm-dialog-set")
    j.click(dg["x"] + dg["width"] - 137, dg["y"] + dg["height"] - 23)  # OK, in the bottom row
    assert wait_until(lambda: not j.shown("Alarm Settings"), 10)
    assert wait_until(lambda: own_note(app.database)["isReminder"] == "1", 20), own_note(app.database)
    alarm = own_note(app.database)
    assert alarm["remindTime"] == str(rings_at), (alarm["remindTime"], rings_at)
    assert int(alarm["remindSnoozeTime"]) > 0 and alarm["remindAction"] != "0", alarm

    # It rings: the stop-alarm window comes. Snooze puts it away and shows the title bar's
    # stop-snooze button; that button cancels the snooze.
    j.shot("alarm-set")
    snooze_button = (x + SNOOZE_SLOT - 8, y, 16, 16)
    before = j.region(*snooze_button)
    stop = desktop.visible_windows(ALARM_WINDOW) or wait_until(lambda: desktop.visible_windows(ALARM_WINDOW), 60)
    assert stop, "the stop-alarm window did not appear"
    sg = desktop.window_geometry(stop[0])
    j.shot("ringing")
    j.click(sg["x"] + 150, sg["y"] + 92)  # SNOOZE, below the lines naming the note
    assert wait_until(lambda: not desktop.visible_windows(ALARM_WINDOW), 10)
    # The flashing stops with the note shown.
    assert wait_until(lambda: note in desktop.run("xdotool", "search", "--onlyvisible", "--class",
                                                   "brightpost").stdout.split(), 10)
    assert wait_until(lambda: j.region(*snooze_button) != before, 10), "no stop-snooze button"
    j.shot("snoozed")
    j.click(x + SNOOZE_SLOT, y + 8)
    assert wait_until(lambda: j.region(*snooze_button) == before, 10), "the snooze stayed"
    j.shot("snooze-cancelled")

    # Close All from the tray menu, then Show All with the hot key.
    shown = note_windows(desktop)
    assert len(shown) == 4
    j.tray_menu(["Down", "Down", "Right", "Down"], shot="tray-menu")
    j.shot("tray-menu-notes")
    j.key("Return")
    assert wait_until(lambda: not note_windows(desktop), 10), "Close All left notes"
    j.shot("all-closed")
    j.key("ctrl+alt+s")
    assert wait_until(lambda: note_windows(desktop) == shown, 10), "Show All missed notes"
    j.shot("all-shown")

    # The own note closed by its title bar; Find finds the bold word and shows it again.
    j.click(x + w - 9, y + 8)
    assert wait_until(lambda: note not in note_windows(desktop), 10)
    j.tray_menu(["Down"] * 4 + ["Return"])  # Find
    find = j.window("^Find$")
    assert desktop.wait_active(find)
    assert desktop.wait_drawn(find)
    desktop.run("xdotool", "type", "--delay", "40", BOLD_WORD)
    j.key("Return")
    # Into the result list, select what it holds, on to "Show Selected Notes".
    j.key("shift+Tab", "ctrl+a")
    j.shot("find")
    j.key("Tab", "space")
    assert wait_until(lambda: note in note_windows(desktop), 10), "Find did not show the note"
    j.key("Escape")
    assert wait_until(lambda: not desktop.visible_windows("^Find$"), 10), find

    # Deleted from its own menu (the title bar's priority button; Delete is the eighth item from
    # the bottom), restored from the Recycle Bin.
    j.click(x + 8, y + 8)
    menus = wait_until(lambda: menu_windows(desktop), 10)
    assert menus, "no note menu"
    assert desktop.wait_drawn(next(iter(menus)))
    j.key(*["Up"] * 8)
    j.shot("note-menu")
    j.key("Return")
    answer_yes(desktop, artifacts, "journey-delete-question.png")
    assert wait_until(lambda: note not in note_windows(desktop), 10)
    assert wait_until(lambda: database.notes(app.database)[nid]["isDeleted"] == "1", 20)
    j.tray_menu(["Down"] * 7 + ["Return"])  # Recycle Bin
    assert desktop.wait_active(j.window("^Recycle Bin$"))
    j.key("ctrl+a")
    j.shot("recycle-bin")
    j.key("Tab", "space")  # "Restore"
    answer_yes(desktop, artifacts, "journey-restore-question.png")
    # A restored note comes back in a window of its own.
    note = wait_until(lambda: window_at(desktop, (x, y, w, h)), 10)
    assert note, ("the restored note is not where it was", layout(desktop))
    j.key("Escape")
    assert wait_until(lambda: not j.shown("Recycle Bin"), 10)
    assert wait_until(lambda: database.notes(app.database)[nid]["isDeleted"] == "0", 20)
    j.shot("restored")

    # Exported, and the program ended from the tray menu.
    exported = str(tmp_path / "day")
    j.tray_menu(["Down"] * 6 + ["Return"])  # Export Notes
    j.choose_file("Export Notes", exported)
    assert wait_until(lambda: os.path.exists(exported + ".dat"), 15)
    # The notes step aside while the file dialog is up and come back after it.
    assert wait_until(lambda: len(layout(desktop)) == 4, 10), layout(desktop)
    before_exit = layout(desktop)
    assert (x, y, w, h) in before_exit, before_exit
    j.tray_menu(["Up", "Return"])  # Exit
    assert app.process.wait(timeout=30) == 0
    stored = database.read_text(app.database)

    # Started again: the same notes with the same formatting in the same places, the same
    # settings.
    again = start(data_dir, env=env)
    again.wait_ready()
    assert wait_until(lambda: layout(desktop) == before_exit, 20), (layout(desktop), before_exit)
    assert all(j.shown(t) for t in SAMPLES)
    assert bold_in_body(own_note(again.database)["body"])
    j.shot("started-again")
    assert again.terminate() == 0
    assert database.notes(again.database) == database.notes_of_text(stored)
    assert settings_of(database.read_text(again.database)) == settings_of(stored)

    # The export imported into a second data folder.
    second = start(str(tmp_path / "second"), env=env)
    second.wait_ready()
    assert wait_until(lambda: len(note_windows(desktop)) == 3, 20)
    j.tray_menu(["Down"] * 5 + ["Return"])  # Import Notes
    j.choose_file("Import Notes", exported + ".dat")
    assert wait_until(lambda: len(note_windows(desktop)) == 3 + 4, 20)
    assert wait_until(lambda: own_note(second.database), 20)
    imported = own_note(second.database)
    assert bold_in_body(imported["body"]) and "Second paragraph" in imported["body"]
    j.shot("imported")
    assert second.terminate() == 0
