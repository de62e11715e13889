"""A 2x screen: notes are drawn at twice the size in device pixels, while what is stored stays in
logical pixels, so one database shows the same layout on screens of any density."""

import os

import pytest

import database
from conftest import ROOT, Brightpost
from desktop import DesktopSession, wait_until

DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
PLACES = [(60, 80, 260, 180), (400, 200, 300, 220)]


@pytest.fixture
def dense_desktop():
    session = DesktopSession(geometry="2560x1600x24").start()
    yield session
    session.stop()


def test_notes_at_twice_the_density_keep_their_logical_layout(dense_desktop, data_dir, artifacts):
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, len(PLACES),
                                                  geometry=lambda i: PLACES[i]))
    env = dict(dense_desktop.env, QT_SCALE_FACTOR="2")
    app = Brightpost(dense_desktop, data_dir, (), env)
    app.wait_ready(timeout=60)

    def on_screen():
        found = []
        for i, (x, y, w, h) in enumerate(PLACES):
            ids = dense_desktop.visible_windows(f"^Note {i + 1}$")
            if not ids:
                return None
            g = dense_desktop.window_geometry(ids[0])
            if (g["x"], g["y"], g["width"], g["height"]) != (2 * x, 2 * y, 2 * w, 2 * h):
                return None
            found.append(ids[0])
        return found

    windows = wait_until(on_screen, 60)
    assert windows, [
        dense_desktop.window_geometry(w) for i in range(len(PLACES))
        for w in dense_desktop.visible_windows(f"^Note {i + 1}$")]
    dense_desktop.screenshot(os.path.join(artifacts, "high-density-2x.png"))

    # Dragged by its title bar 200 x 100 device pixels (the move starts after the first step):
    # 100 x 50 logical ones.
    g = dense_desktop.window_geometry(windows[0])
    x, y = g["x"] + 240, g["y"] + 16
    dense_desktop.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.1",
                      "mousemove", str(x + 20), str(y), "sleep", "0.1",
                      "mousemove", str(x + 120), str(y + 50), "sleep", "0.05",
                      "mousemove", str(x + 220), str(y + 100), "sleep", "0.1", "mouseup", "1")
    assert wait_until(lambda: dense_desktop.window_geometry(windows[0])["x"] == g["x"] + 200, 10), \
        (g, dense_desktop.window_geometry(windows[0]))
    x, y, w, h = PLACES[0]
    # The window manager has moved the window; the program learns of it a moment later, so the
    # end waits for the save that follows the move rather than racing that moment.
    assert wait_until(lambda: int(database.notes(path)[1]["xPos"]) == x + 100, 20), \
        database.notes(path)[1]
    assert app.terminate(timeout=60) == 0
    stored = database.notes(path)
    expected = [(x + 100, y + 50, w, h)] + PLACES[1:]
    for i, place in enumerate(expected):
        assert tuple(int(stored[i + 1][k]) for k in ("xPos", "yPos", "Width", "Height")) == place
