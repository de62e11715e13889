"""A data folder on a read-only or full file system: the program says so once, keeps showing the
notes it has, and a session that ends still ends it (no box waits for a user who has gone)."""

import os
import shutil
import subprocess

import pytest

import database
from desktop import wait_until

SAMPLE_TITLES = ["High Priority Note", "Regular Priority Note", "Low Priority Note"]
DEFAULT_DATABASE = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                                "store", "data", "default-database.dat")


def make_read_only(folder):
    subprocess.run(["mount", "-o", "remount,ro", folder], check=True)


def fill_up(folder):
    with open(os.path.join(folder, "filler"), "wb") as f:
        try:
            while True:
                f.write(b"\0" * 65536)
                f.flush()
        except OSError:
            pass


@pytest.mark.parametrize("spoil", [make_read_only, fill_up], ids=["read-only", "full"])
def test_an_unwritable_folder_is_reported_once_and_the_notes_stay(
        small_mount, start, desktop, spoil):
    data_dir = os.path.join(small_mount, "notes")
    first = start(data_dir)
    first.wait_ready(timeout=60)
    assert first.terminate(timeout=60) == 0
    saved = database.read_text(os.path.join(data_dir, "Brightpost.dat"))
    spoil(small_mount)

    app = start(data_dir)
    app.wait_ready(timeout=60)
    for title in SAMPLE_TITLES:
        assert wait_until(lambda: desktop.visible_windows(f"^{title}$"), 30), title
    box = wait_until(lambda: desktop.visible_windows("^Warning$"), 30)
    assert box, "nothing said that the notes cannot be saved"
    desktop.run("xdotool", "windowactivate", "--sync", box[0])
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Warning$"), 10)
    # Typing meets the failing save after edits without a second box.
    note = desktop.visible_windows(f"^{SAMPLE_TITLES[1]}$")[0]
    g = desktop.window_geometry(note)
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 80), "click", "1")
    desktop.run("xdotool", "type", "--delay", "20", "unsaved")
    assert not wait_until(lambda: desktop.visible_windows("^(Warning|Error)$"), 8)

    # Ending the session ends the program, though its last save cannot be written.
    assert app.terminate(timeout=60) == 0
    assert database.read_text(os.path.join(data_dir, "Brightpost.dat")) == saved


def test_a_read_only_folder_the_program_never_ran_in_shows_its_notes_and_holds_one_copy(
        small_mount, start, desktop):
    # As an archive or a copy leaves it: readable by others, with no lock file.
    data_dir = os.path.join(small_mount, "notes")
    os.mkdir(data_dir)
    os.chmod(data_dir, 0o755)
    shutil.copy(DEFAULT_DATABASE, os.path.join(data_dir, "Brightpost.dat"))
    make_read_only(small_mount)

    app = start(data_dir)
    app.wait_ready(timeout=60)
    for title in SAMPLE_TITLES:
        assert wait_until(lambda: desktop.visible_windows(f"^{title}$"), 30), title
    assert wait_until(lambda: len(desktop.visible_windows("^Warning$")) == 1, 30)

    # A later start is carried out by this copy instead of becoming a second one.
    later = start(data_dir, "--show-all")
    assert later.process.wait(timeout=15) == 0
    assert app.running()
    assert app.terminate(timeout=60) == 0
