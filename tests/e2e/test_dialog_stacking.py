"""Every box and dialog of the program comes up above every note, High notes included, as the
active window, so that the user can see what the keyboard answers."""

import os
import time

import pytest

import database
from conftest import ROOT
from desktop import wait_until
from test_tray import menu_windows, open_menu_with_keys

DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
HIGH = 2


def wm_state(desktop, window):
    return desktop.run("xprop", "-id", str(window), "_NET_WM_STATE").stdout


def active_window(desktop):
    out = desktop.run("xprop", "-root", "_NET_ACTIVE_WINDOW").stdout
    return int(out.split("#")[1].split(",")[0], 16) if "#" in out else None


def wait_for_window(desktop, title, timeout=30):
    found = wait_until(lambda: desktop.visible_windows(title), timeout)
    assert found, f"no window titled {title!r}"
    return int(found[0])


def assert_above_every_note(desktop, dialog, notes, what):
    """The dialog is active, in the topmost layer and stacked above every note."""
    assert wait_until(lambda: active_window(desktop) == dialog, 10), f"{what} is not active"

    def above_notes():
        order = desktop.stacking()
        return dialog in order and order.index(dialog) > max(order.index(n) for n in notes)

    assert wait_until(above_notes, 10), (what, desktop.stacking())
    assert "_NET_WM_STATE_ABOVE" in wm_state(desktop, dialog), what


def high_notes_database(data_dir, count, geometry):
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, count, geometry=geometry))
    database.edit_notes(path, lambda e: database.set_attribute(e, "priority", HIGH))
    return path


def note_windows(desktop, count, timeout):
    assert wait_until(lambda: len(desktop.visible_windows("^Note [0-9]+$")) >= count, timeout)
    return [int(w) for w in desktop.visible_windows("^Note [0-9]+$")]


@pytest.mark.slow
def test_the_limit_box_shows_above_a_thousand_high_notes(start, data_dir, desktop):
    high_notes_database(data_dir, 1000, lambda i: (340 + i % 7, 200 + i % 5, 600, 400))
    app = start(data_dir)
    app.wait_ready(timeout=60)
    notes = note_windows(desktop, 1000, timeout=180)
    for attempt in ("first", "second"):
        desktop.run("xdotool", "key", "ctrl+alt+n")
        box = wait_for_window(desktop, "^Attention$", timeout=60)
        assert_above_every_note(desktop, box, notes, f"{attempt} Attention box")
        # Enter answers the box that the user sees, and the hot keys work again.
        desktop.run("xdotool", "key", "Return")
        assert wait_until(lambda: not desktop.visible_windows("^Attention$"), 10)
    assert app.terminate(timeout=60) == 0
    assert len(database.notes(app.database)) == 1000


def test_dialogs_show_above_a_high_note_that_covers_the_desktop(start, data_dir, desktop):
    high_notes_database(data_dir, 1, lambda i: (0, 24, 1280, 776))
    app = start(data_dir)
    app.wait_ready()
    notes = note_windows(desktop, 1, timeout=15)
    assert desktop.wait_drawn()

    open_menu_with_keys(desktop, app, ["Down"] * 8 + ["Return"])  # About
    about = wait_for_window(desktop, "^Brightpost$")
    assert_above_every_note(desktop, about, notes, "About box")
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Brightpost$"), 10)

    # A dialog of the note itself: the note menu from its priority button, Transparency.
    desktop.run("xdotool", "mousemove", "8", "32", "click", "1")
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus, "the note's menu did not open"
    assert desktop.wait_drawn(next(iter(menus)))
    desktop.run("xdotool", "key", "--delay", "120", "Down", "Down", "Return")
    transparency = wait_for_window(desktop, "^Transparency$")
    assert_above_every_note(desktop, transparency, notes, "Transparency dialog")
    desktop.run("xdotool", "key", "Escape")
    assert wait_until(lambda: not desktop.visible_windows("^Transparency$"), 10)
    assert app.terminate() == 0


def frame(desktop, window):
    """The window's frame as x, y, width, height: its client area and the window manager's
    decoration around it."""
    g = desktop.window_geometry(window)
    out = desktop.run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS").stdout
    extents = [int(v) for v in out.split("=")[1].split(",")] if "=" in out else [0] * 4
    left, right, top, bottom = extents
    return g["x"] - left, g["y"] - top, g["width"] + left + right, g["height"] + top + bottom


def work_area(desktop):
    out = desktop.run("xprop", "-root", "_NET_WORKAREA").stdout
    return tuple(int(v) for v in out.split("=")[1].split(",")[:4])


def inside(outer, inner):
    ox, oy, ow, oh = outer
    x, y, w, h = inner
    return ox <= x and oy <= y and x + w <= ox + ow and y + h <= oy + oh


def above(desktop, upper, lower):
    order = desktop.stacking()
    return upper in order and lower in order and order.index(upper) > order.index(lower)


def test_the_manager_opens_on_screen_and_its_alarm_dialog_above_it(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    manager = wait_for_window(desktop, "^Notes Manager$")
    # Opened at the bottom of the 1280 × 800 desktop below the tray's panel, all of it on
    # screen, buttons and frame included.
    assert wait_until(lambda: inside(work_area(desktop), frame(desktop, manager)), 10), (
        work_area(desktop), frame(desktop, manager))
    g = desktop.window_geometry(manager)

    # The manager's Alarm button on the Regular note (the second row) opens the note's alarm
    # dialog over the manager, which stays above the notes.
    desktop.run("xdotool", "mousemove", str(g["x"] + 80), str(g["y"] + 61), "click", "1",
                "key", "Down")
    desktop.run("xdotool", "mousemove", str(g["x"] + 403 + 37), str(g["y"] + g["height"] - 18),
                "click", "1")
    dialog = wait_for_window(desktop, "^Alarm Settings$")
    assert wait_until(lambda: active_window(desktop) == dialog, 10)
    assert wait_until(lambda: above(desktop, dialog, manager), 5), desktop.stacking()
    # And it stays above: nothing to wait for, the test looks again a moment later.
    time.sleep(0.5)
    assert above(desktop, dialog, manager), desktop.stacking()
    desktop.run("xdotool", "key", "Escape")
    assert wait_until(lambda: not desktop.visible_windows("^Alarm Settings$"), 10)
    assert app.terminate() == 0


def test_the_stop_alarm_window_stays_above_the_manager(start, data_dir, desktop):
    env = dict(desktop.env, TZ="UTC")
    first = start(data_dir, env=env)
    first.wait_ready()
    assert first.terminate() == 0
    # The Regular note rings soon: its stop-alarm window goes under the note, over the manager.
    rings_at = int(time.time()) + 8

    database.set_note_attributes(first.database, 2, (
        ("isReminder", 1), ("remindTime", rings_at), ("remindAction", 1), ("remindSnoozeTime", 0)))

    app = start(data_dir, env=env)
    app.wait_ready()
    manager = wait_for_window(desktop, "^Notes Manager$")
    g = desktop.window_geometry(manager)
    stop_alarm = wait_for_window(desktop, "^Brightpost alarm$", timeout=40)
    # A click into the manager's list brings the manager up, but not over the stop-alarm window.
    desktop.run("xdotool", "mousemove", str(g["x"] + 80), str(g["y"] + 61), "click", "1")
    assert wait_until(lambda: active_window(desktop) == manager, 10)
    assert wait_until(lambda: above(desktop, stop_alarm, manager), 5), desktop.stacking()
    # And it stays above: nothing to wait for, the test looks again a moment later.
    time.sleep(0.5)
    assert above(desktop, stop_alarm, manager), desktop.stacking()
    s = desktop.window_geometry(stop_alarm)
    # The stop button, below the lines naming the note.
    desktop.run("xdotool", "mousemove", str(s["x"] + 150), str(s["y"] + 122), "click", "1")
    assert wait_until(lambda: not desktop.visible_windows("^Brightpost alarm$"), 10)
    assert app.terminate() == 0
