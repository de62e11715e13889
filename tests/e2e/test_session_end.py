"""A session that ends (logout sends SIGTERM, a closed terminal SIGHUP) takes the program through
its orderly exit: what was typed a moment before is saved before the process is gone."""

import os
import signal
import subprocess

import pytest

import database
from conftest import BINARY
from desktop import wait_until
from test_never_lose_typing import type_into_body
from test_unwritable_folder import fill_up


@pytest.mark.parametrize("sig", [signal.SIGTERM, signal.SIGHUP], ids=["SIGTERM", "SIGHUP"])
def test_typing_just_before_the_session_ends_is_saved(start, data_dir, desktop, sig):
    app = start(data_dir)
    app.wait_ready(timeout=60)
    before = database.notes(app.database)
    saved = type_into_body(desktop, "loggedout", before)
    # Sooner than the save after edits would run.
    app.process.send_signal(sig)
    assert app.process.wait(timeout=60) == 0
    assert saved(database.notes(app.database))


@pytest.mark.parametrize("ending", ["SIGTERM", "--quit"])
def test_an_end_while_a_failed_save_is_reported_ends_and_saves(small_mount, start, desktop, ending):
    """The box that reports a failed save runs its own event loop inside the save: the end of
    the session, or a later start's --quit, must not wait for that save to finish."""
    data_dir = os.path.join(small_mount, "notes")
    app = start(data_dir)
    app.wait_ready(timeout=60)
    fill_up(small_mount)
    # A new note is saved at once, which the full disk refuses.
    second = subprocess.run([BINARY, "--data-dir", data_dir, "--new-note"], env=desktop.env,
                            capture_output=True, timeout=30)
    assert second.returncode == 0, second.stderr
    assert wait_until(lambda: desktop.visible_windows("^Error$"), 30), "no box for the failed save"
    os.remove(os.path.join(small_mount, "filler"))
    if ending == "SIGTERM":
        app.process.send_signal(signal.SIGTERM)
    else:
        quit = subprocess.run([BINARY, "--data-dir", data_dir, "--quit"], env=desktop.env,
                              capture_output=True, timeout=30)
        assert quit.returncode == 0, quit.stderr
    assert app.process.wait(timeout=15) == 0
    assert len(database.notes(app.database)) == 4


def test_sigterm_while_a_settings_dialog_asks_about_its_changes_ends_and_saves(start, data_dir,
                                                                               desktop):
    """A dialog that asks before it lets its changes go must not keep the program alive."""
    from test_settings import SETTINGS_MENU
    from test_tray import open_menu_with_keys
    app = start(data_dir)
    app.wait_ready(timeout=60)
    saved = type_into_body(desktop, "beforelogout", database.notes(app.database))
    open_menu_with_keys(desktop, app, SETTINGS_MENU + ["Return"])  # App Settings
    dialog = wait_until(lambda: desktop.visible_windows("^Brightpost Settings$"), 15)
    assert dialog, "no settings dialog"
    g = desktop.window_geometry(dialog[0])
    # "Open Notes Manager on startup", the check box under "Start Brightpost when I log in",
    # changes; Escape would drop that.
    desktop.run("xdotool", "mousemove", str(g["x"] + 15), str(g["y"] + 46), "click", "1")
    desktop.run("xdotool", "key", "Escape")
    assert wait_until(lambda: desktop.visible_windows("^Warning$"), 15), "no Discard changes?"
    app.process.send_signal(signal.SIGTERM)
    assert app.process.wait(timeout=15) == 0
    assert saved(database.notes(app.database))
