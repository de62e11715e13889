"""The tray icon, its menu, hot keys and command-line actions on a real X desktop."""

import os
import subprocess
import time

import pytest

from conftest import BINARY, Brightpost
from desktop import DesktopSession, wait_until

MENU_BACKGROUND = "#2B2B2B"


def program_windows(desktop):
    out = desktop.run("xdotool", "search", "--onlyvisible", "--class", "brightpost").stdout
    return set(out.split())


def note_windows(desktop):
    """Visible windows of the program that the window manager manages (menus are not), other
    than the Notes Manager."""
    stacking = {str(w) for w in desktop.stacking()}
    manager = set(desktop.visible_windows("^Notes Manager$"))
    return {w for w in program_windows(desktop) if w in stacking and w not in manager}


def menu_windows(desktop):
    """Visible windows of the program outside the window manager's list: popup menus."""
    stacking = {str(w) for w in desktop.stacking()} | set(desktop.tray_icons())
    return {w for w in program_windows(desktop) if w not in stacking}


def settle(app, desktop):
    """Ready once the tray icon is docked and the stored notes are on the desktop."""
    app.wait_ready()
    assert wait_until(lambda: note_windows(desktop), 10)
    time.sleep(0.3)


def note_count(path):
    with open(path, "rb") as f:
        return f.read().count(b"<note nid=")


def pixel(desktop, path, x, y):
    out = desktop.run("convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-").stdout
    return out.split()[-2] if "#" in out else out


def open_menu_with_keys(desktop, app, keys):
    """Opens the tray menu with a right click and walks it with the keyboard."""
    desktop.click_tray_icon(button=3)
    assert wait_until(lambda: menu_windows(desktop), 5)
    time.sleep(0.3)
    desktop.run("xdotool", "key", "--delay", "120", *keys)


def test_click_opens_the_dark_menu(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    settle(app, desktop)
    desktop.click_tray_icon()
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus, "no menu after a click on the tray icon"
    time.sleep(0.5)
    menu = desktop.window_geometry(menus.pop())
    assert menu["height"] >= 32 * 10 + 6 * 7
    shot = os.path.join(artifacts, "tray-menu.png")
    desktop.screenshot(shot)
    # Right of the text of "Exit", the last item: the dark background.
    assert pixel(desktop, shot, menu["x"] + menu["width"] - 8, menu["y"] + menu["height"] - 6) == MENU_BACKGROUND


def test_double_click_creates_a_note_that_save_writes(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    stored = note_count(app.database)
    notes = note_windows(desktop)
    desktop.click_tray_icon(count=2)
    assert wait_until(lambda: len(note_windows(desktop) - notes) == 1, 5)
    time.sleep(0.6)
    # A double click opens no menu.
    assert not menu_windows(desktop)
    # Making the note saved it; "Save" writes the database again, through a new file.
    assert wait_until(lambda: note_count(app.database) == stored + 1, 5)
    saved = os.stat(app.database).st_ino
    # "Save" is the second entry from the bottom, whichever entries above it are enabled.
    open_menu_with_keys(desktop, app, ["Up", "Up", "Return"])
    assert wait_until(lambda: os.stat(app.database).st_ino != saved, 5)
    assert note_count(app.database) == stored + 1


def test_hot_keys_create_hide_and_show_notes(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    notes = note_windows(desktop)
    desktop.run("xdotool", "key", "ctrl+alt+n")
    assert wait_until(lambda: len(note_windows(desktop) - notes) == 1, 5)
    shown = len(note_windows(desktop))
    desktop.run("xdotool", "key", "ctrl+alt+h")
    assert wait_until(lambda: not note_windows(desktop), 5)
    desktop.run("xdotool", "key", "ctrl+alt+s")
    assert wait_until(lambda: len(note_windows(desktop)) == shown, 5)


def test_cascade_all_moves_the_notes(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    assert len(note_windows(desktop)) == 3
    # Notes Manager, Notes > Show All, Close All, Cascade All.
    open_menu_with_keys(desktop, app, ["Down", "Down", "Right", "Down", "Down", "Return"])
    expected = {(0, 0, 230, 175), (15, 30, 230, 175), (30, 60, 230, 175)}

    def geometries():
        found = set()
        for window in note_windows(desktop):
            g = desktop.window_geometry(window)
            found.add((g["x"], g["y"], g["width"], g["height"]))
        return found

    assert wait_until(lambda: geometries() == expected, 5), geometries()


def choose_file(desktop, caption, path):
    assert wait_until(lambda: desktop.visible_windows(caption), 10), f"no {caption} dialog"
    time.sleep(0.5)
    desktop.run("xdotool", "type", "--delay", "20", path)
    desktop.run("xdotool", "key", "Return")


def test_export_then_import_into_another_data_folder(start, data_dir, desktop, tmp_path):
    app = start(data_dir)
    settle(app, desktop)
    exported = str(tmp_path / "round-trip")
    open_menu_with_keys(desktop, app, ["Down"] * 6 + ["Return"])  # Export Notes
    choose_file(desktop, "Export Notes", exported)
    assert wait_until(lambda: os.path.exists(exported + ".dat"), 10)
    assert app.terminate() == 0

    second_dir = str(tmp_path / "second")
    second = start(second_dir)
    settle(second, desktop)
    before = note_count(second.database)
    open_menu_with_keys(desktop, second, ["Down"] * 5 + ["Return"])  # Import Notes
    choose_file(desktop, "Import Notes", exported + ".dat")
    assert wait_until(lambda: note_count(second.database) == before + 3, 10)
    assert wait_until(lambda: len(note_windows(desktop)) == before + 3, 5)


def test_command_line_actions_reach_the_running_copy(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    notes = note_windows(desktop)
    run = lambda *args: subprocess.run([BINARY, "--data-dir", data_dir, *args], env=desktop.env,
                                       capture_output=True, timeout=20)
    assert run("--new-note").returncode == 0
    assert wait_until(lambda: len(note_windows(desktop) - notes) == 1, 5)
    stored = note_count(app.database)
    assert run("--save").returncode == 0
    assert wait_until(lambda: note_count(app.database) == stored, 5)
    assert run("--quit").returncode == 0
    assert app.process.wait(timeout=10) == 0
    assert note_count(app.database) == len(notes) + 1
    # With nothing running, --quit starts nothing.
    quiet = run("--quit")
    assert quiet.returncode == 0
    assert not desktop.tray_icons()


def test_help_and_version_need_no_desktop():
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    out = subprocess.run([BINARY, "--help"], env=env, capture_output=True, text=True, timeout=20)
    assert out.returncode == 0
    for option in ("--new-note", "--show-all", "--hide-all", "--toggle-manager", "--save", "--quit"):
        assert option in out.stdout
    out = subprocess.run([BINARY, "--version"], env=env, capture_output=True, text=True, timeout=20)
    assert out.stdout.strip() == "Brightpost 1.3.0"


def test_tray_host_that_comes_later_gets_the_icon(data_dir):
    session = DesktopSession(tray=False).start()
    try:
        app = Brightpost(session, data_dir)
        time.sleep(2)
        assert app.running()
        session.start_tray()
        assert wait_until(session.tray_icons, 10), "the icon did not dock in the late tray"
        assert app.running()
    finally:
        session.stop()
