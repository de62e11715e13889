"""A note's whole life by the keyboard alone: no pointer event is sent."""

import os
import subprocess

import database
from conftest import BINARY
from desktop import wait_until

SAMPLE_TITLES = {"High Priority Note", "Regular Priority Note", "Low Priority Note"}


def keys(desktop, *names):
    desktop.run("xdotool", "key", "--delay", "150", *names)


def active_window(desktop):
    out = desktop.run("xdotool", "getactivewindow").stdout.strip()
    return int(out) if out else None


def saved_notes(desktop, app):
    subprocess.run([BINARY, "--data-dir", app.data_dir, "--save"], env=desktop.env, timeout=30)
    return database.notes(app.database)


def test_create_type_recolour_move_lock_and_delete_by_keys(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    samples = set(wait_until(lambda: database.notes(app.database), timeout=20))

    keys(desktop, "ctrl+alt+n")
    created = wait_until(lambda: set(saved_notes(desktop, app)) - samples, timeout=30)
    assert created, "Ctrl+Alt+N made no note"
    nid = created.pop()

    def note():
        return saved_notes(desktop, app).get(nid)

    window = wait_until(lambda: active_window(desktop), timeout=20)
    assert window
    desktop.run("xdotool", "type", "--delay", "40", "typed without a mouse")
    assert wait_until(lambda: "typed without a mouse" in (note()["body"] or ""), timeout=20)

    # The note's menu by keys: Priority > Low.
    before = dict(note())
    keys(desktop, "ctrl+shift+F10", "Down", "Right", "Down", "Down", "Return")
    assert wait_until(lambda: note()["priority"] == "0", timeout=20), note()

    # New colours by their key (Ctrl+Shift+R), then a move by Alt+arrows.
    keys(desktop, "ctrl+shift+r")
    assert wait_until(lambda: note()["bodyBackColor"] != before["bodyBackColor"], timeout=20)
    x = int(note()["xPos"])
    keys(desktop, "alt+Right", "alt+Right", "alt+Right")
    assert wait_until(lambda: int(note()["xPos"]) == x + 30, timeout=20)

    # Lock from the note's menu: Priority, Transparency, Size, Lock.
    keys(desktop, "ctrl+shift+F10", "Down", "Down", "Down", "Down", "Return")
    assert wait_until(lambda: note()["isEdit"] == "0", timeout=20)
    # A locked note's menu holds only "Unlock"; then Delete, confirmed with Enter.
    keys(desktop, "shift+F10", "Down", "Return")
    assert wait_until(lambda: note()["isEdit"] == "1", timeout=20)
    # Priority, Transparency, Size, Lock, Duplicate, Delete; the question's safe default is
    # "No", so "Yes" by its mnemonic.
    keys(desktop, "ctrl+shift+F10", *["Down"] * 6, "Return")
    assert wait_until(lambda: active_window(desktop) not in (None, window), timeout=20)
    keys(desktop, "alt+y")
    assert wait_until(lambda: note() is None or note()["isDeleted"] == "1", timeout=20)
    assert app.terminate() == 0
