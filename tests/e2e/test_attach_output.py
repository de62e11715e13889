"""The attach panel and a note's way out of the program, on a real desktop: files attached
from the panel's menu and opened by the desktop, a picture of the note, a mail address.

The desktop's opener is a fake first on PATH that records what it was asked to open; nothing
real opens."""

import os
import stat

import database
from desktop import wait_until
from test_note_state import REGULAR, open_note_menu
from test_notes import note_window
from test_tray import choose_file, menu_windows, pixel

REGULAR_NID = 2
NOTE_SIZE = (250, 175)


def fake_opener(desktop, tmp_path):
    """Puts a recording xdg-open first on PATH; returns the file of what it was asked."""
    record = tmp_path / "opened.txt"
    bin_dir = tmp_path / "bin"
    bin_dir.mkdir()
    opener = bin_dir / "xdg-open"
    opener.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$1\" >> '{record}'\n")
    opener.chmod(opener.stat().st_mode | stat.S_IXUSR)
    desktop.env["PATH"] = f"{bin_dir}:{desktop.env['PATH']}"
    desktop.env.pop("BRIGHTPOST_OPENER", None)
    return record


def opened(record):
    return record.read_text().splitlines() if record.exists() else []


def start_with_panel(start, data_dir, desktop):
    """The sample notes, the Regular one with its attach panel shown."""
    app = start(data_dir)
    app.wait_ready()
    assert app.terminate() == 0
    text = database.read_text(app.database)
    elements = database.note_elements(text)
    regular = next(e for e in elements if database.attribute(e, "nid") == str(REGULAR_NID))
    database.write_text(app.database, text.replace(regular, database.set_attribute(regular, "links", 1)))
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    return app


def attachments(app):
    text = database.read_text(app.database)
    return text.count("\r\n<file ")


def test_file_attached_from_the_panel_opens_with_the_desktop(start, data_dir, desktop, tmp_path, artifacts):
    record = fake_opener(desktop, tmp_path)
    document = tmp_path / "plan for the week.txt"
    document.write_text("monday\n")
    app = start_with_panel(start, data_dir, desktop)
    panel = wait_until(lambda: desktop.visible_windows("^Attachments$"), 10)
    assert panel, "the attach panel is not shown"
    g = desktop.window_geometry(panel[0])
    assert (g["x"], g["y"], g["width"]) == (REGULAR[0], REGULAR[1] + NOTE_SIZE[1], NOTE_SIZE[0])

    # The panel's menu: "run" is greyed without a selection, so Down reaches "attach file".
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 30), "sleep", "0.2", "click", "3")
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus, "the panel's menu did not open"
    assert desktop.wait_drawn(next(iter(menus)))
    desktop.run("xdotool", "key", "--delay", "120", "Down", "Return")
    choose_file(desktop, "Attach file to note", str(document))
    # Saved shortly after the edit.
    assert wait_until(lambda: attachments(app) == 1, 15), "the file was not attached"
    assert f"name={database.OPEN}{document}{database.CLOSE}" in database.read_text(app.database)
    desktop.screenshot(os.path.join(artifacts, "attach-panel.png"))

    # The first row lies at the top of the list.
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 9), "sleep", "0.2",
                "click", "--repeat", "2", "--delay", "80", "1")
    assert wait_until(lambda: opened(record), 10), "the desktop was not asked to open the file"
    assert opened(record) == [document.as_uri()]
    assert app.terminate() == 0


def test_picture_shows_the_title_colour_and_mail_goes_to_the_opener(start, data_dir, desktop, tmp_path):
    record = fake_opener(desktop, tmp_path)
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")

    # Save, then the second entry of its submenu.
    open_note_menu(desktop, REGULAR, "Up", "Up", "Up", "Right", "Down", "Return")
    picture = tmp_path / "regular"
    choose_file(desktop, "Save As", str(picture))
    saved = tmp_path / "regular.png"
    assert wait_until(lambda: saved.exists() and saved.stat().st_size > 0, 10)
    size = desktop.run("identify", "-format", "%w %h", str(saved)).stdout.split()
    assert tuple(int(v) for v in size) == NOTE_SIZE

    stored = int(database.notes(app.database)[REGULAR_NID]["titleBackColor"])
    title = "#%02X%02X%02X" % (stored & 0xFF, (stored >> 8) & 0xFF, (stored >> 16) & 0xFF)
    row = [pixel(desktop, str(saved), x, 3) for x in range(20, 230, 10)]
    assert sum(1 for p in row if p.upper().startswith(title)) > len(row) // 2, (title, row)

    open_note_menu(desktop, REGULAR, "Up", "Return")
    assert wait_until(lambda: opened(record), 10), "no mail address reached the opener"
    assert opened(record)[0].startswith("mailto:?subject=Regular%20Priority%20Note&body=")
    assert app.terminate() == 0


def attach_from_menu(desktop, g, downs, caption, path):
    """Chooses the panel menu's item `downs` places below the first enabled one."""
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 55), "sleep", "0.2", "click", "3")
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus, "the panel's menu did not open"
    assert desktop.wait_drawn(next(iter(menus)))
    desktop.run("xdotool", "key", "--delay", "120", *(["Down"] * downs), "Return")
    choose_file(desktop, caption, path)


def test_the_panel_names_files_and_folders_without_their_paths(start, data_dir, desktop, tmp_path, artifacts):
    fake_opener(desktop, tmp_path)
    files = [tmp_path / name for name in ("budget 2027.ods", "notes.txt")]
    for f in files:
        f.write_text("x\n")
    photos = tmp_path / "Holiday photos"
    photos.mkdir()
    app = start_with_panel(start, data_dir, desktop)
    panel = wait_until(lambda: desktop.visible_windows("^Attachments$"), 10)
    assert panel, "the attach panel is not shown"
    g = desktop.window_geometry(panel[0])
    assert desktop.wait_drawn(panel[0])
    desktop.screenshot(os.path.join(artifacts, "attach-panel-empty.png"))

    for count, f in enumerate(files, start=1):
        attach_from_menu(desktop, g, 1, "Attach file to note", str(f))
        assert wait_until(lambda: attachments(app) == count, 15), f"{f} was not attached"
    # "run" is greyed without a selection: the first Down reaches "attach file", the next the folder.
    attach_from_menu(desktop, g, 2, "Attach folder to note", str(photos))
    assert wait_until(lambda: attachments(app) == 3, 15), "the folder was not attached"
    assert f"name={database.OPEN}{photos}{database.CLOSE}" in database.read_text(app.database)
    assert desktop.wait_drawn(panel[0])
    desktop.screenshot(os.path.join(artifacts, "attach-panel-files-and-folder.png"))
    assert app.terminate() == 0


def test_attachments_shown_and_hidden_from_the_note_menu(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    assert not desktop.visible_windows("^Attachments$")

    # "Attachments" sits just above Save, Print and Send as email.
    open_note_menu(desktop, REGULAR, "Up", "Up", "Up", "Up", "Return")
    panel = wait_until(lambda: desktop.visible_windows("^Attachments$"), 10)
    assert panel, "the note's menu did not show the attach panel"
    g = desktop.window_geometry(panel[0])
    assert (g["x"], g["y"], g["width"]) == (REGULAR[0], REGULAR[1] + NOTE_SIZE[1], NOTE_SIZE[0])

    open_note_menu(desktop, REGULAR, "Up", "Up", "Up", "Up", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Attachments$"), 10), \
        "the note's menu did not hide the attach panel"
    open_note_menu(desktop, REGULAR, "Up", "Up", "Up", "Up", "Return")
    assert wait_until(lambda: desktop.visible_windows("^Attachments$"), 10)
    assert app.terminate() == 0
    assert database.notes(app.database)[REGULAR_NID]["links"] == "1"
