"""The Notes Manager, Find and the Recycle Bin on a real X desktop."""

import os

import database
from desktop import wait_until
from test_tray import open_menu_with_keys

SAMPLES = ["Low Priority Note", "Regular Priority Note", "High Priority Note"]
REGULAR = (616, 111)  # where the sample "Regular Priority Note" lies, 250 × 175


def window(desktop, name):
    found = desktop.visible_windows(f"^{name}$")
    return int(found[0]) if found else None


def shown(desktop, title):
    return bool(desktop.visible_windows(f"^{title}$"))


def key(desktop, *keys):
    desktop.run("xdotool", "key", "--delay", "120", *keys)


def click(desktop, x, y, count=1):
    desktop.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.2",
                "click", "--repeat", str(count), "--delay", "80", "1")


def above_every_note(desktop, win):
    order = desktop.stacking()
    notes = [int(w) for title in SAMPLES for w in desktop.visible_windows(f"^{title}$")]
    return win in order and all(order.index(win) > order.index(n) for n in notes if n in order)


class Manager:
    """Places in the manager's window, from its client area's corner."""

    def __init__(self, desktop, win):
        self.desktop = desktop
        self.geometry = desktop.window_geometry(win)

    def first_row(self):
        # Below the search row and the list's header: the middle of the first row.
        g = self.geometry
        return g["x"] + 80, g["y"] + 61

    def button(self, x):
        g = self.geometry
        return g["x"] + x + 37, g["y"] + g["height"] - 30 + 12

    def hide_button(self):
        return self.button(166)

    def delete_button(self):
        return self.button(245)


def answer_yes(desktop, artifacts, name):
    assert wait_until(lambda: window(desktop, "Warning"), 10)
    assert desktop.wait_drawn(window(desktop, "Warning"))
    desktop.screenshot(os.path.join(artifacts, name))
    desktop.run("xdotool", "windowactivate", "--sync", str(window(desktop, "Warning")))
    key(desktop, "shift+Tab", "space")  # from "No", which has the focus, to "Yes"
    assert wait_until(lambda: not window(desktop, "Warning"), 10)


def test_manager_find_and_recycle_bin(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    assert wait_until(lambda: all(shown(desktop, t) for t in SAMPLES), 15)

    # Shown at start-up (the sample settings ask for it); the hot key hides and shows it.
    assert wait_until(lambda: window(desktop, "Notes Manager"), 15)
    key(desktop, "ctrl+alt+m")
    assert wait_until(lambda: not window(desktop, "Notes Manager"), 10)
    key(desktop, "ctrl+alt+m")
    assert wait_until(lambda: window(desktop, "Notes Manager"), 10)
    win = window(desktop, "Notes Manager")
    assert wait_until(lambda: above_every_note(desktop, win), 10)
    assert desktop.wait_drawn()
    desktop.screenshot(os.path.join(artifacts, "notes-manager.png"))
    manager = Manager(desktop, win)

    # The first row is the first sample note: Hide hides it, a double click shows it again.
    click(desktop, *manager.first_row())
    click(desktop, *manager.hide_button())
    assert wait_until(lambda: not shown(desktop, SAMPLES[0]), 10)
    click(desktop, *manager.first_row(), count=2)
    assert wait_until(lambda: shown(desktop, SAMPLES[0]), 10)

    # A word typed into the second note; once it is saved, the note is hidden from the list.
    click(desktop, REGULAR[0] + 125, REGULAR[1] + 100)
    desktop.run("xdotool", "type", "--delay", "30", " zebra")
    assert wait_until(lambda: "zebra" in (database.notes(app.database)[2]["body"] or ""), 20)
    click(desktop, *manager.first_row())
    key(desktop, "Down")
    click(desktop, *manager.hide_button())
    assert wait_until(lambda: not shown(desktop, SAMPLES[1]), 10)

    # Find finds it, and "Show Selected Notes" brings it back.
    open_menu_with_keys(desktop, app, ["Down"] * 4 + ["Return"])  # Find
    assert wait_until(lambda: window(desktop, "Find"), 10)
    assert desktop.wait_active(window(desktop, "Find"))
    desktop.run("xdotool", "type", "--delay", "30", "zebra")
    key(desktop, "Return")
    # Into the result list, select what it holds, on to "Show Selected Notes".
    find = window(desktop, "Find")
    drawn = desktop.pixels(find)
    key(desktop, "shift+Tab", "ctrl+a")
    assert desktop.wait_redrawn(find, drawn)
    desktop.screenshot(os.path.join(artifacts, "find.png"))
    key(desktop, "Tab", "space")
    assert wait_until(lambda: shown(desktop, SAMPLES[1]), 10)
    key(desktop, "Escape")
    assert wait_until(lambda: not window(desktop, "Find"), 10)

    # Deleted from the manager into the Recycle Bin, and restored from there.
    click(desktop, *manager.first_row())
    click(desktop, *manager.delete_button())
    answer_yes(desktop, artifacts, "notes-manager-delete-question.png")
    assert wait_until(lambda: not shown(desktop, SAMPLES[0]), 10)
    assert wait_until(lambda: database.notes(app.database)[1]["isDeleted"] == "1", 20)

    open_menu_with_keys(desktop, app, ["Down"] * 7 + ["Return"])  # Recycle Bin
    assert wait_until(lambda: window(desktop, "Recycle Bin"), 10)
    bin_window = window(desktop, "Recycle Bin")
    assert desktop.wait_active(bin_window)
    drawn = desktop.pixels(bin_window)
    key(desktop, "ctrl+a")
    assert desktop.wait_redrawn(bin_window, drawn)
    desktop.screenshot(os.path.join(artifacts, "recycle-bin.png"))
    key(desktop, "Tab", "space")  # "Restore"
    answer_yes(desktop, artifacts, "recycle-bin-restore-question.png")
    assert wait_until(lambda: shown(desktop, SAMPLES[0]), 10)
    key(desktop, "Escape")
    assert wait_until(lambda: not window(desktop, "Recycle Bin"), 10)

    assert app.terminate() == 0
    assert database.notes(app.database)[1]["isDeleted"] == "0"


def allowed_actions(desktop, win):
    out = desktop.run("xprop", "-id", str(win), "_NET_WM_ALLOWED_ACTIONS").stdout
    return {a.strip() for a in out.split("=", 1)[1].split(",")} if "=" in out else set()


def motif_hints(desktop, win):
    """(flags, functions, decorations) the window asks of the window manager."""
    out = desktop.run("xprop", "-id", str(win), "_MOTIF_WM_HINTS").stdout
    values = [int(v.strip(), 16) for v in out.split("=", 1)[1].split(",")]
    return values[0], values[1], values[2]


MWM_HINTS_FUNCTIONS, MWM_HINTS_DECORATIONS = 0x1, 0x2
MWM_FUNC_ALL, MWM_FUNC_MINIMIZE, MWM_FUNC_MAXIMIZE = 0x1, 0x8, 0x10
MWM_DECOR_ALL, MWM_DECOR_MINIMIZE, MWM_DECOR_MAXIMIZE = 0x1, 0x20, 0x40


def test_the_managers_search_box(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    assert wait_until(lambda: all(shown(desktop, t) for t in SAMPLES), 15)
    assert wait_until(lambda: window(desktop, "Notes Manager"), 15)
    win = window(desktop, "Notes Manager")
    manager = Manager(desktop, win)
    g = manager.geometry

    # Typing narrows the list to the notes that hold the words: "high" leaves only the High
    # Priority Note, so the first row's Hide hides that one.
    click(desktop, g["x"] + 150, g["y"] + 16)
    assert desktop.wait_active(win)
    desktop.run("xdotool", "type", "--delay", "60", "high")
    assert desktop.wait_drawn(win)
    desktop.screenshot(os.path.join(artifacts, "notes-manager-search.png"))
    click(desktop, *manager.first_row())
    click(desktop, *manager.hide_button())
    assert wait_until(lambda: not shown(desktop, SAMPLES[2]), 10)
    assert shown(desktop, SAMPLES[0]) and shown(desktop, SAMPLES[1])

    # The question box that Delete asks has no minimise or maximise button, only its close
    # button; No keeps the note.
    click(desktop, *manager.first_row())
    click(desktop, *manager.delete_button())
    assert wait_until(lambda: window(desktop, "Warning"), 10)
    box = window(desktop, "Warning")
    flags, functions, decorations = motif_hints(desktop, box)
    assert flags & MWM_HINTS_FUNCTIONS and flags & MWM_HINTS_DECORATIONS
    assert not functions & (MWM_FUNC_ALL | MWM_FUNC_MINIMIZE | MWM_FUNC_MAXIMIZE), hex(functions)
    assert not decorations & (MWM_DECOR_ALL | MWM_DECOR_MINIMIZE | MWM_DECOR_MAXIMIZE), hex(decorations)
    # The window manager takes that: it offers close, and no maximise.
    actions = allowed_actions(desktop, box)
    assert "_NET_WM_ACTION_CLOSE" in actions
    assert not actions & {"_NET_WM_ACTION_MAXIMIZE_HORZ", "_NET_WM_ACTION_MAXIMIZE_VERT"}, actions
    assert desktop.wait_drawn(box)
    desktop.screenshot(os.path.join(artifacts, "question-box-buttons.png"))
    desktop.run("xdotool", "windowactivate", "--sync", str(box))
    key(desktop, "Return")  # "No" has the focus
    assert wait_until(lambda: not window(desktop, "Warning"), 10)

    assert app.terminate() == 0
    assert all(n["isDeleted"] == "0" for n in database.notes(app.database).values())
