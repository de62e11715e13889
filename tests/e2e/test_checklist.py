"""A Markdown shopping list pasted into a note becomes a checklist whose boxes a click ticks."""

import os
import shutil
import subprocess

import pytest

from database import notes
from desktop import wait_until

SHOPPING = "- [ ] milk\n- [ ] eggs\n- [ ] bread\n- [ ] apples\n"
ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


def note_window(desktop, title, timeout=10):
    found = wait_until(lambda: desktop.visible_windows(title), timeout=timeout)
    assert found, f"no visible note titled {title!r}"
    return found[0]


def click(desktop, x, y):
    desktop.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.2", "click", "1")


def text_lines(desktop, window, g, left, right, top):
    """The rows of dark pixels between the columns left and right, grouped into lines of
    text: (first row, last row, first dark column) for each, from the window's top."""
    data = desktop.pixels(window)
    width = g["width"]
    lines = []
    for y in range(top, g["height"] - 4):
        dark = [x for x in range(left, right)
                if sum(data[(y * width + x) * 3:(y * width + x) * 3 + 3]) < 240]
        if dark:
            if lines and lines[-1][1] == y - 1:
                lines[-1][1] = y
                lines[-1][2] = min(lines[-1][2], dark[0])
            else:
                lines.append([y, y, dark[0]])
    return lines


@pytest.fixture
def clipboard(desktop):
    """Puts plain text alone on the clipboard, served by an xclip this test ends."""
    if not shutil.which("xclip"):
        pytest.skip("needs xclip (scripts/deps.sh)")
    owners = []

    def put(text):
        owner = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard"],
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL, env=desktop.env)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        owners.append(owner)
        assert wait_until(lambda: desktop.selection_owner("CLIPBOARD"), 5)
    yield put
    for owner in owners:
        owner.terminate()
        owner.wait(timeout=5)


def test_pasted_markdown_list_becomes_boxes_that_clicks_tick(start, data_dir, desktop, clipboard,
                                                             artifacts):
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Low Priority Note")
    g = desktop.window_geometry(window)
    click(desktop, g["x"] + 120, g["y"] + 100)
    assert desktop.wait_active(window)
    drawn = desktop.pixels(window)
    desktop.run("xdotool", "key", "ctrl+a", "Delete")
    clipboard(SHOPPING)
    desktop.run("xdotool", "key", "ctrl+v")
    assert desktop.wait_redrawn(window, drawn)

    # The boxes are the marks furthest left, one in each of the body's four lines; the
    # descenders of the words beside them start further right.
    lines = text_lines(desktop, window, g, 2, 40, 20)
    assert lines
    boxes = [line for line in lines if line[2] <= min(x for _, _, x in lines) + 2]
    assert len(boxes) == 4, lines
    items = boxes
    for line in (items[1], items[3]):
        drawn = desktop.pixels(window)
        click(desktop, g["x"] + line[2] + 4, g["y"] + (line[0] + line[1]) // 2)
        assert desktop.wait_redrawn(window, drawn)
    desktop.screenshot(os.path.join(artifacts, "checklist-note.png"), window)
    # The README's picture of a checklist, made again on request.
    if os.environ.get("BRIGHTPOST_UPDATE_SCREENSHOTS"):
        desktop.screenshot(os.path.join(ROOT, "docs", "images", "checklist-note.png"), window)

    assert app.terminate() == 0
    note = next(n for n in notes(app.database).values() if n.get("title") == "Low Priority Note")
    body = note["body"]
    # Open and ticked boxes as \u characters any RTF reader shows, ticked ones struck through.
    assert body.count("\\u9744?") == 2, body
    assert body.count("\\u9745?") == 2, body
    assert "\\strike" in body
    for word in ("milk", "eggs", "bread", "apples"):
        assert word in body
    ticked = [part.split("\\par")[0] for part in body.split("\\u9745?")[1:]]
    assert any("eggs" in t for t in ticked) and any("apples" in t for t in ticked), ticked
