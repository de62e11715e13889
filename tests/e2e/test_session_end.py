"""A session that ends (logout sends SIGTERM, a closed terminal SIGHUP) takes the program through
its orderly exit: what was typed a moment before is saved before the process is gone."""

import signal

import pytest

import database
from test_never_lose_typing import type_into_body


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
