"""Notes on a real desktop: placement, stacking, moving, sizing and what survives a restart."""

import os

import database
from desktop import wait_until

SAMPLES = {1: ("Low Priority Note", (451, 24)), 2: ("Regular Priority Note", (616, 111)),
           3: ("High Priority Note", (764, 189))}


def note_window(desktop, title, timeout=10):
    ids = wait_until(lambda: desktop.visible_windows(title), timeout)
    assert ids, f"no window titled {title!r}"
    return ids[0]


def drag(desktop, x, y, dx, dy):
    """Press at (x, y), move by (dx, dy), release."""
    desktop.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.1",
                "mousemove", str(x + dx // 2), str(y + dy // 2), "sleep", "0.05",
                "mousemove", str(x + dx), str(y + dy), "sleep", "0.1", "mouseup", "1")


def drag_title(desktop, x, y, dx, dy):
    """A title bar moves its note once the pointer has travelled a little: the note follows
    the pointer from there."""
    desktop.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.1",
                "mousemove", str(x + 20), str(y), "sleep", "0.1",
                "mousemove", str(x + 20 + dx // 2), str(y + dy // 2), "sleep", "0.05",
                "mousemove", str(x + 20 + dx), str(y + dy), "sleep", "0.1", "mouseup", "1")


def test_sample_notes_appear_where_stored_and_stack_by_priority(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    windows = {}
    for nid, (title, (x, y)) in SAMPLES.items():
        windows[nid] = note_window(desktop, title)
        g = desktop.window_geometry(windows[nid])
        assert (g["x"], g["y"], g["width"], g["height"]) == (x, y, 250, 175), title
    assert desktop.wait_drawn()
    desktop.screenshot(os.path.join(artifacts, "sample-notes.png"))

    # An ordinary window over all three, activated: the Low note stays under it, the High
    # note above it.
    desktop._spawn("xmessage", ["xmessage", "-geometry", "700x400+300+0", "an ordinary window"])
    ordinary = note_window(desktop, "xmessage")
    desktop.run("xdotool", "windowactivate", "--sync", ordinary)
    low, regular, high, other = (int(windows[1]), int(windows[2]), int(windows[3]), int(ordinary))
    wait_until(lambda: desktop.stacking().index(regular) < desktop.stacking().index(other), 5)
    order = desktop.stacking()
    assert order.index(low) < order.index(other) < order.index(high), order
    assert order.index(regular) < order.index(other), "the activated window covers a Regular note"
    for nid, state in ((1, "BELOW"), (3, "ABOVE")):
        assert state in desktop.run("xprop", "-id", windows[nid], "_NET_WM_STATE").stdout
    assert "SKIP_TASKBAR" in desktop.run("xprop", "-id", windows[2], "_NET_WM_STATE").stdout


def test_dragging_and_resizing_are_written_back(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "High Priority Note")
    # Drag by the title bar.
    drag_title(desktop, 764 + 120, 189 + 8, -200, 150)
    assert wait_until(lambda: desktop.window_geometry(window)["x"] == 564, 5), desktop.window_geometry(window)
    # Resize from the bottom-right corner.
    g = desktop.window_geometry(window)
    drag(desktop, g["x"] + g["width"] - 2, g["y"] + g["height"] - 2, 60, 40)
    assert wait_until(lambda: desktop.window_geometry(window)["width"] == 310, 5), desktop.window_geometry(window)
    assert app.terminate() == 0
    note = database.notes(app.database)[3]
    assert (int(note["xPos"]), int(note["yPos"])) == (564, 339)
    assert (int(note["Width"]), int(note["Height"])) == (310, 215)


def test_typed_body_and_collapsed_state_survive_a_restart(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Regular Priority Note")
    desktop.run("xdotool", "mousemove", str(616 + 100), str(111 + 80), "click", "1")
    assert desktop.wait_active(window)
    drawn = desktop.pixels(window)
    desktop.run("xdotool", "type", "--delay", "20", "Milk and eggs")
    # The window shows the typing before the signal: the exit must save all of it.
    assert desktop.wait_redrawn(window, drawn)
    assert app.terminate() == 0
    body = database.notes(app.database)[2]["body"]
    assert "Milk and eggs" in body and body.startswith("{\\rtf1")

    # Collapse the note in the file, as a previous run would have left it.
    database.edit_notes(app.database, lambda e: database.set_attribute(e, "isBody", 0)
                        if database.attribute(e, "nid") == "2" else e)
    again = start(data_dir)
    again.wait_ready()
    window = note_window(desktop, "Regular Priority Note")
    assert wait_until(lambda: desktop.window_geometry(window)["height"] == 31, 5)
    desktop.screenshot(os.path.join(artifacts, "collapsed-note.png"))
    assert again.terminate() == 0
    note = database.notes(again.database)[2]
    assert note["isBody"] == "0"
    assert "Milk and eggs" in note["body"]
