"""Notes keep their window, layer, place and their absence from the task bar and the pager
through every path that hides and shows them again."""

import subprocess

import database
from conftest import BINARY
from desktop import wait_until
from test_notes import SAMPLES, note_window
from test_note_state import open_note_menu
from test_tray import open_menu_with_keys, settle

LOW, REGULAR, HIGH = 1, 2, 3


def wm_state(desktop, window):
    return desktop.run("xprop", "-id", str(window), "_NET_WM_STATE").stdout


class Notes:
    """The sample notes' windows, found once: a note must come back as the same window."""

    def __init__(self, desktop, app):
        self.desktop = desktop
        self.app = app
        self.windows = {nid: int(note_window(desktop, title)) for nid, (title, _) in SAMPLES.items()}
        desktop._spawn("xmessage", ["xmessage", "-geometry", "300x200+900+500", "another program"])
        self.other = int(note_window(desktop, "xmessage"))

    def all_shown(self):
        listed = set(self.desktop.stacking())
        return all(w in listed for w in self.windows.values())

    def geometry(self, nid):
        g = self.desktop.window_geometry(self.windows[nid])
        return g["x"], g["y"], g["width"], g["height"]

    def check(self, path, places):
        """After a path: every note is its old window, out of the task bar and pager, where
        the path put it and where its record says; once another program is active, the
        layers are those of the priorities."""
        desktop = self.desktop
        assert wait_until(self.all_shown, 10), f"{path}: notes missing {desktop.stacking()}"
        assert wait_until(lambda: all(self.geometry(n)[:2] == places[n] for n in places), 5), (
            path, {n: self.geometry(n) for n in places})
        desktop.run("xdotool", "windowactivate", "--sync", str(self.other))

        def layered():
            order = desktop.stacking()
            return (all(w in order for w in self.windows.values()) and
                    order.index(self.windows[REGULAR]) < order.index(self.other)
                    < order.index(self.windows[HIGH]))
        wait_until(layered, 5)
        for nid, window in self.windows.items():
            state = wm_state(desktop, window)
            assert "_NET_WM_STATE_SKIP_TASKBAR" in state, (path, nid, state)
            assert "_NET_WM_STATE_SKIP_PAGER" in state, (path, nid, state)
        assert "_NET_WM_STATE_ABOVE" in wm_state(desktop, self.windows[HIGH]), path
        assert "_NET_WM_STATE_BELOW" in wm_state(desktop, self.windows[LOW]), path
        order = desktop.stacking()
        low, regular, high = (order.index(self.windows[n]) for n in (LOW, REGULAR, HIGH))
        assert low < regular < order.index(self.other) < high, (path, order)
        subprocess.run([BINARY, "--data-dir", self.app.data_dir, "--save"], env=desktop.env,
                       capture_output=True, timeout=20)

        def stored():
            records = database.notes(self.app.database)
            return {n: (int(records[n]["xPos"]), int(records[n]["yPos"]), records[n]["isClosed"])
                    for n in places}

        expected = {n: (x, y, "0") for n, (x, y) in places.items()}
        assert wait_until(lambda: stored() == expected, 5), (path, stored())


def test_notes_keep_their_window_state_through_hide_and_show(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    notes = Notes(desktop, app)

    # Cascade All: the notes overlap, the High note's title must stay on top.
    open_menu_with_keys(desktop, app, ["Down", "Down", "Right", "Down", "Down", "Return"])
    cascaded = {LOW: (0, 0), REGULAR: (15, 30), HIGH: (30, 60)}
    notes.check("cascade all", cascaded)

    desktop.run("xdotool", "key", "ctrl+alt+h")
    assert wait_until(lambda: not any(w in desktop.stacking() for w in notes.windows.values()), 5)
    desktop.run("xdotool", "key", "ctrl+alt+s")
    notes.check("hide all, show all", cascaded)

    # Minimize All, then Export Notes and Cancel.
    open_menu_with_keys(desktop, app, ["Down", "Down", "Right", "Down", "Down", "Down", "Return"])
    minimized = {LOW: (0, 0), REGULAR: (201, 0), HIGH: (402, 0)}
    assert wait_until(lambda: all(notes.geometry(n)[:2] == minimized[n] for n in minimized), 5)
    open_menu_with_keys(desktop, app, ["Down"] * 6 + ["Return"])
    export = wait_until(lambda: desktop.visible_windows("Export Notes"), 10)
    assert export
    assert desktop.wait_active(export[0])
    desktop.run("xdotool", "key", "Escape")
    notes.check("minimize all, export cancelled", minimized)

    # Delete → No on the Regular note, the only one whose priority button is uncovered here.
    open_note_menu(desktop, minimized[REGULAR], *(["Down"] * 6), "Return")
    question = note_window(desktop, "^Warning$")
    desktop.run("xdotool", "windowactivate", "--sync", question, "key", "alt+n")
    notes.check("delete answered no", minimized)

    # Cascade All once more, now that every note has been hidden and shown again.
    open_menu_with_keys(desktop, app, ["Down", "Down", "Right", "Down", "Down", "Return"])
    notes.check("cascade all again", cascaded)
    assert app.terminate() == 0


def test_a_close_from_the_window_manager_hides_the_note_as_its_close_button_does(
        start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    regular = int(note_window(desktop, "Regular Priority Note"))

    def saved_closed():
        subprocess.run([BINARY, "--data-dir", app.data_dir, "--save"], env=desktop.env,
                       capture_output=True, timeout=20)
        return database.notes(app.database)[REGULAR]["isClosed"]

    def hidden():
        return not desktop.visible_windows("^Regular Priority Note$")

    # wmctrl asks the window manager to close it, which sends the note WM_DELETE_WINDOW;
    # then Alt+F4 on the active note.
    for close in (["wmctrl", "-i", "-c", hex(regular)], ["xdotool", "key", "alt+F4"]):
        if close[0] == "xdotool":
            desktop.run("xdotool", "windowactivate", "--sync", str(regular))
            assert desktop.wait_active(regular)
        desktop.run(*close)
        assert wait_until(hidden, 10), close
        assert wait_until(lambda: saved_closed() == "1", 10), close
        # Show All brings back the same window.
        desktop.run("xdotool", "key", "ctrl+alt+s")
        assert wait_until(lambda: not hidden() and str(regular) in desktop.visible_windows(
            "^Regular Priority Note$"), 10), close
        assert wait_until(lambda: saved_closed() == "0", 10), close
    assert app.terminate() == 0
