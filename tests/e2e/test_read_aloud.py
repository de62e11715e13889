"""A note read aloud on a real desktop, with real speech played into a private null sink."""

import os

import pytest

from audio import NullSink, audible_seconds
from desktop import wait_until
from test_notes import note_window

REGULAR = (616, 111)  # where the sample "Regular Priority Note" lies, 250 × 175
READ_BUTTON = (REGULAR[0] + 25, REGULAR[1] + 8)


@pytest.fixture
def sink():
    audio = NullSink().start()
    yield audio
    audio.stop()


def test_read_button_speaks_the_text_while_the_reading_window_shows(start, data_dir, desktop, sink):
    # The engine is named, so that a speech daemon of the machine's own is never used.
    env = {**desktop.env, **sink.env, "BRIGHTPOST_SPEECH_ENGINE": "flite"}
    app = start(data_dir, env=env)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    desktop.run("xdotool", "mousemove", str(REGULAR[0] + 100), str(REGULAR[1] + 90), "click", "1")
    desktop.run("xdotool", "type", "--delay", "20", "Remember to water the plants on Friday.")

    recording = sink.record()
    desktop.run("xdotool", "mousemove", *map(str, READ_BUTTON), "click", "1")
    reading = wait_until(lambda: desktop.visible_windows("^Reading$"), timeout=20)
    assert reading, "the Reading window did not appear"
    assert wait_until(lambda: not desktop.visible_windows("^Reading$"), timeout=60), \
        "the Reading window stayed after the text was spoken"
    samples = recording.stop()

    assert audible_seconds(samples) > 1.0, "the sink heard (almost) nothing"
    assert app.running()
    assert app.terminate() == 0


def test_without_a_sound_server_the_user_is_told_and_nothing_stays_open(start, data_dir, desktop):
    env = {**desktop.env, "PULSE_SERVER": "unix:" + os.path.join(data_dir, "no-such-server"),
           "BRIGHTPOST_SPEECH_ENGINE": "flite"}
    app = start(data_dir, env=env)
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    desktop.run("xdotool", "mousemove", *map(str, READ_BUTTON), "click", "1")
    assert wait_until(lambda: desktop.visible_windows("^Error$"), timeout=20), "no message"
    assert not desktop.visible_windows("^Reading$")
    assert app.running()
    assert app.terminate() == 0
