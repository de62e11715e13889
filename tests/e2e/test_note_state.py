"""A note's state and look changed from its own menu and buttons on a real desktop."""

import os
import time

import database
from desktop import wait_until
from test_notes import note_window
from test_tray import menu_windows

REGULAR = (616, 111)  # where the sample "Regular Priority Note" lies, 250 × 175


def open_note_menu(desktop, note_at, *keys):
    """Clicks the note's priority button, which opens its menu, and types keys into it; then
    waits for the menu to close."""
    x, y = note_at
    desktop.run("xdotool", "mousemove", str(x + 8), str(y + 8), "click", "1")
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus, "the note's menu did not open"
    # Drawn once it has been shown, and so has the keyboard.
    assert desktop.wait_drawn(next(iter(menus)))
    if keys:
        desktop.run("xdotool", "key", "--delay", "120", *keys)
        wait_until(lambda: not menu_windows(desktop), 5)


def wm_state(desktop, window):
    return desktop.run("xprop", "-id", str(window), "_NET_WM_STATE").stdout


def test_locked_note_takes_no_typing(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    # Priority, Transparency, Size, Lock.
    open_note_menu(desktop, REGULAR, "Down", "Down", "Down", "Down", "Return")
    desktop.run("xdotool", "mousemove", str(REGULAR[0] + 100), str(REGULAR[1] + 90), "click", "1")
    desktop.run("xdotool", "type", "--delay", "20", "should not appear")
    # The typing must change nothing, so there is nothing to wait for: the keys get a moment
    # to arrive before the exit saves.
    time.sleep(0.3)
    assert app.terminate() == 0
    note = database.notes(app.database)[2]
    assert note["isEdit"] == "0"
    assert "should not appear" not in (note["body"] or "")


def test_minimize_button_collapses_and_restores(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Regular Priority Note")
    minimize = (REGULAR[0] + 250 - 25, REGULAR[1] + 8)
    desktop.run("xdotool", "mousemove", *map(str, minimize), "click", "1")
    assert wait_until(lambda: desktop.window_geometry(window)["height"] == 31, 5)
    desktop.run("xdotool", "mousemove", *map(str, minimize), "click", "1")
    assert wait_until(lambda: desktop.window_geometry(window)["height"] == 175, 5)
    assert app.terminate() == 0
    assert database.notes(app.database)[2]["isBody"] == "1"


def test_priority_from_the_menu_restacks_at_once(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    window = int(note_window(desktop, "Regular Priority Note"))
    # Overlapping the note, but not its priority button.
    desktop._spawn("xmessage", ["xmessage", "-geometry", "400x300+700+150", "an ordinary window"])
    ordinary = int(note_window(desktop, "xmessage"))

    open_note_menu(desktop, REGULAR, "Down", "Right", "Return")  # Priority → High
    assert wait_until(lambda: "ABOVE" in wm_state(desktop, window), 5)
    desktop.run("xdotool", "windowactivate", "--sync", str(ordinary))
    wait_until(lambda: desktop.stacking()[-1] in (int(ordinary), int(window)), 5)
    order = desktop.stacking()
    assert order.index(window) > order.index(ordinary), "a High note stays above"
    assert "ABOVE" in wm_state(desktop, window)

    open_note_menu(desktop, REGULAR, "Down", "Right", "Down", "Down", "Return")  # → Low
    assert wait_until(lambda: "BELOW" in wm_state(desktop, window), 5)
    desktop.run("xdotool", "windowactivate", "--sync", str(ordinary))
    wait_until(lambda: desktop.stacking().index(int(window)) < desktop.stacking().index(int(ordinary)), 5)
    order = desktop.stacking()
    assert order.index(window) < order.index(ordinary), "a Low note stays below"
    assert "BELOW" in wm_state(desktop, window)
    assert app.terminate() == 0
    assert database.notes(app.database)[2]["priority"] == "0"


def test_transparency_sets_the_window_opacity(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Regular Priority Note")
    open_note_menu(desktop, REGULAR, "Down", "Down", "Return")  # Transparency
    dialog = note_window(desktop, "^Transparency$")
    desktop.run("xdotool", "windowactivate", "--sync", dialog)
    # Check the box, move the slider to the most transparent end, confirm.
    desktop.run("xdotool", "key", "--delay", "120", "space", "Tab", "End", "Return")
    # Under the pointer a transparent note shows opaque; away from it, its own opacity.
    desktop.run("xdotool", "mousemove", "5", "700")

    def opacity():
        return desktop.run("xprop", "-id", window, "_NET_WM_WINDOW_OPACITY").stdout

    wait_until(lambda: "=" in opacity() and int(opacity().split("=")[1]) < 0xFFFFFFFF // 2, 10)
    opacity = opacity()
    assert "=" in opacity, opacity
    value = int(opacity.split("=")[1].strip())
    assert abs(value / 0xFFFFFFFF - 55 / 255) < 0.01
    assert app.terminate() == 0
    note = database.notes(app.database)[2]
    assert (note["Transparency"], note["TransLevel"]) == ("1", "55")


def test_delete_from_the_menu_goes_to_the_recycle_bin(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    # Priority, Transparency, Size, Lock, Duplicate, Delete.
    open_note_menu(desktop, REGULAR, *(["Down"] * 6), "Return")
    question = note_window(desktop, "^Warning$")
    desktop.screenshot(os.path.join(artifacts, "delete-question.png"))
    desktop.run("xdotool", "windowactivate", "--sync", question)
    desktop.run("xdotool", "key", "alt+y")
    assert wait_until(lambda: not desktop.visible_windows("^Warning$"), 5)
    assert wait_until(lambda: not desktop.visible_windows("Regular Priority Note"), 5)
    assert app.terminate() == 0
    assert database.notes(app.database)[2]["isDeleted"] == "1"


def test_session_end_during_a_note_question_exits_cleanly(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    open_note_menu(desktop, REGULAR, *(["Down"] * 6), "Return")
    note_window(desktop, "^Warning$")
    assert app.terminate() == 0
    note = database.notes(app.database)[2]
    assert (note["isDeleted"], note["isClosed"]) == ("0", "0")
