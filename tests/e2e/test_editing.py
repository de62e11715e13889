"""Renaming a note in place, the body's edit menu and clicking a web address, on a real X desktop."""

import os
import stat

from desktop import wait_until


def note_window(desktop, title, timeout=10):
    found = wait_until(lambda: desktop.visible_windows(title), timeout=timeout)
    assert found, f"no visible note titled {title!r}"
    return found[0]


def program_windows(desktop):
    out = desktop.run("xdotool", "search", "--onlyvisible", "--class", "brightpost").stdout
    return set(out.split())


def click(desktop, x, y, button=1, repeat=1):
    desktop.run("xdotool", "mousemove", str(x), str(y), "sleep", "0.2",
                "click", "--repeat", str(repeat), "--delay", "80", str(button))


def test_double_click_renames_the_note(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Low Priority Note")
    g = desktop.window_geometry(window)
    click(desktop, g["x"] + 120, g["y"] + 8, repeat=2)
    # The keys follow the double click in order once the note has the keyboard.
    assert desktop.wait_active(window)
    desktop.run("xdotool", "type", "--delay", "30", "Renamed in place")
    desktop.run("xdotool", "key", "Return")
    assert note_window(desktop, "Renamed in place")
    assert app.terminate() == 0
    with open(app.database, "rb") as f:
        text = f.read()
    assert b"title=|<|<|<|<|<Renamed in place>|>|>|>|>|" in text


def test_right_click_on_the_body_opens_the_edit_menu(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    g = desktop.window_geometry(note_window(desktop, "Low Priority Note"))
    before = program_windows(desktop)
    click(desktop, g["x"] + 120, g["y"] + 100, button=3)
    assert wait_until(lambda: len(program_windows(desktop) - before) == 1, 5)
    desktop.screenshot(os.path.join(artifacts, "body-edit-menu.png"))
    desktop.run("xdotool", "key", "Escape")
    assert wait_until(lambda: not (program_windows(desktop) - before), 5)


def test_clicking_a_web_address_asks_the_opener(start, data_dir, desktop, tmp_path):
    record = tmp_path / "opened.txt"
    opener = tmp_path / "opener.sh"
    opener.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{record}'\n")
    opener.chmod(opener.stat().st_mode | stat.S_IXUSR)
    desktop.env["BRIGHTPOST_OPENER"] = str(opener)
    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Low Priority Note")
    g = desktop.window_geometry(window)
    click(desktop, g["x"] + 120, g["y"] + 100)
    assert desktop.wait_active(window)
    drawn = desktop.pixels(window)
    desktop.run("xdotool", "key", "ctrl+a")
    desktop.run("xdotool", "type", "--delay", "20", "https://example.org/e2e-check")
    # The address must be laid out before the click on it.
    assert desktop.wait_redrawn(window, drawn)
    # The address fills the start of the first line of the body.
    click(desktop, g["x"] + 60, g["y"] + 16 + 10 + 7)
    assert wait_until(lambda: record.exists() and record.read_text().strip(), 10)
    assert record.read_text().splitlines() == ["https://example.org/e2e-check"]


def test_font_dialog_has_one_size_and_answers_escape(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    app.wait_ready()
    g = desktop.window_geometry(note_window(desktop, "Low Priority Note"))
    click(desktop, g["x"] + 120, g["y"] + 100)
    desktop.run("xdotool", "key", "ctrl+d")
    found = wait_until(lambda: desktop.visible_windows("^Font$"), timeout=15)
    assert found, "the font dialog did not open"
    dialog = found[0]

    def allowed_actions():
        out = desktop.run("xprop", "-id", dialog, "_NET_WM_ALLOWED_ACTIONS").stdout
        return out if "_NET_WM_ACTION_CLOSE" in out else None

    # The window manager offers no maximise for a window of one size.
    actions = wait_until(allowed_actions, timeout=10)
    assert actions, "the window manager did not manage the font dialog"
    assert "MAXIMIZE" not in actions
    hints = desktop.run("xprop", "-id", dialog, "WM_NORMAL_HINTS").stdout
    minimum = [line for line in hints.splitlines() if "minimum size" in line]
    maximum = [line for line in hints.splitlines() if "maximum size" in line]
    assert minimum and maximum
    assert minimum[0].split(":", 1)[1] == maximum[0].split(":", 1)[1]
    desktop.screenshot(os.path.join(artifacts, "font-dialog.png"))
    # The title bar's middle button (openbox draws it anyway) leaves the dialog as it is.
    before = desktop.window_geometry(dialog)
    desktop.run("xdotool", "mousemove", str(before["x"] + before["width"] - 25),
                str(before["y"] - 10), "sleep", "0.3", "click", "1")
    assert not wait_until(lambda: desktop.window_geometry(dialog) != before, 2)

    # Escape in the font lists closes the whole dialog and the note carries on.
    desktop.run("xdotool", "key", "Escape")
    assert wait_until(lambda: not desktop.visible_windows("^Font$"), 10)
    assert app.running()
    assert app.terminate() == 0
