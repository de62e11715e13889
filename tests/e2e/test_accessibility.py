"""The program as a screen reader and a keyboard-only user meet it: notes, their buttons and
text, the tray menu and a dialog through the accessibility bus; a note's whole life by keys."""

import json
import os
import subprocess
import sys

import pytest

import database
from conftest import BINARY, ROOT
from desktop import wait_until
from test_notes import note_window

PROBE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_probe.py")
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
BODY = r"{\rtf1\ansi\deff0{\fonttbl{\f0 Arial;}}\pard Buy milk\par}"
# A title of blanks is read as "Note" and the note's number.
TITLES = {"Note 1", "Note 2"}


def notes_database(data_dir):
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(
        DEFAULT_DATABASE, 2, body=BODY, geometry=lambda i: (100 + 300 * i, 200, 250, 175)))
    database.edit_notes(path, lambda e: e.replace("Note 2", "   ") if "Note 2" in e else e)


def accessibility_bus(desktop):
    """A private session bus with the accessibility bus on it; the session's env uses both."""
    desktop.start_session_bus()
    desktop.env.update(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_ACCESSIBILITY="1", NO_AT_BRIDGE="0")
    desktop._spawn("at-spi-bus-launcher", [BUS_LAUNCHER, "--launch-immediately"])
    assert wait_until(lambda: "org.a11y.Bus" in desktop.run(
        "dbus-send", "--session", "--dest=org.freedesktop.DBus", "--print-reply",
        "/org/freedesktop/DBus", "org.freedesktop.DBus.ListNames").stdout, timeout=20)


def probe(desktop, *args):
    done = subprocess.run([sys.executable, PROBE, *args], env=desktop.env, capture_output=True,
                          text=True, timeout=60)
    return done.returncode, done.stdout


def tree(desktop):
    code, out = probe(desktop, "tree")
    return json.loads(out) if code == 0 and out.strip() not in ("", "null") else []


def walk(item):
    yield item
    for child in item["children"]:
        yield from walk(child)


def windows_named(desktop, names):
    found = {w["name"]: w for w in tree(desktop) if w["name"] in names}
    return found if set(found) == set(names) else None


@pytest.mark.skipif(not os.path.exists(BUS_LAUNCHER), reason="at-spi2-core is not installed")
def test_screen_reader_finds_and_works_notes_tray_menu_and_dialogs(start, data_dir, desktop):
    pytest.importorskip("pyatspi")
    accessibility_bus(desktop)
    notes_database(data_dir)
    app = start(data_dir, env=desktop.env)
    app.wait_ready()
    note_window(desktop, "Note 1")

    notes = wait_until(lambda: windows_named(desktop, TITLES), timeout=30)
    assert notes, tree(desktop)
    regular = notes["Note 1"]
    assert regular["role"] in ("frame", "window")
    assert "Priority" in regular["description"]
    buttons = {b["name"]: b for b in walk(regular) if b["role"] == "push button"}
    assert {"Close", "Minimize", "Read aloud", "Alarm off",
            "Expiration", "Stop snooze"} <= set(buttons), sorted(buttons)
    assert all(b["description"] for b in buttons.values())
    assert any(name.startswith("Priority: ") for name in buttons)
    assert "press" in [a.lower() for a in buttons["Close"]["actions"]]
    text = [t for t in walk(regular) if t["name"] == "Note text"]
    assert text and text[0]["role"] == "text"
    code, body = probe(desktop, "text", "Note 1", "Note text")
    assert code == 0 and json.loads(body).strip() == "Buy milk", body

    # Collapsing through the button's action, as a screen reader presses it.
    assert probe(desktop, "press", "Note 1", "Minimize")[0] == 0
    assert wait_until(lambda: any(
        "Collapsed" in w["description"] for w in tree(desktop)
        if w["name"] == "Note 1"), timeout=20)

    # The tray menu opened from the command line, its entry chosen by name.
    before = os.stat(app.database).st_mtime_ns
    subprocess.run([BINARY, "--data-dir", data_dir, "--tray-menu"], env=desktop.env, timeout=30)
    assert probe(desktop, "choose", "Save")[0] == 0
    assert wait_until(lambda: os.stat(app.database).st_mtime_ns != before, timeout=20)

    # A dialog's default button, found and pressed by its name.
    subprocess.run([BINARY, "--data-dir", data_dir, "--tray-menu"], env=desktop.env, timeout=30)
    assert probe(desktop, "choose", "About")[0] == 0
    def about_box():
        return [w for w in tree(desktop) if w["role"] == "dialog" and w["name"] == "Brightpost"]

    about = wait_until(about_box, timeout=20)
    assert about, tree(desktop)
    assert any(b["name"] == "OK" for b in walk(about[0]) if b["role"] == "push button")
    assert wait_until(lambda: probe(desktop, "press", about[0]["name"], "OK")[0] == 0, timeout=20)
    assert wait_until(lambda: not about_box(), timeout=20)

    assert app.terminate() == 0
    assert database.notes(app.database)[1]["isBody"] == "0"
