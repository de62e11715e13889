"""A note read aloud on a real desktop, with real speech played into a private null sink."""

import os
import shutil
import subprocess
import tempfile

import pytest

from audio import NullSink, audible_seconds
from desktop import stop_process, wait_until
from test_notes import note_window

REGULAR = (616, 111)  # where the sample "Regular Priority Note" lies, 250 × 175
READ_BUTTON = (REGULAR[0] + 25, REGULAR[1] + 8)


@pytest.fixture
def sink():
    audio = NullSink().start()
    yield audio
    audio.stop()


@pytest.fixture
def dispatcher(desktop, sink):
    """speech-dispatcher running in the desktop session, as a user's desktop may run it, with
    its own configuration that plays only into the null sink."""
    folder = tempfile.mkdtemp(prefix="bp-speechd-")
    config = os.path.join(folder, "config")
    shutil.copytree("/etc/speech-dispatcher", config)
    with open(os.path.join(config, "speechd.conf"), "a") as conf:
        conf.write('\nAudioOutputMethod "pulse"\nDefaultModule espeak-ng\n')
    env = {**desktop.env, **sink.env, "HOME": folder}
    log = open(os.path.join(folder, "speechd.log"), "wb")
    process = subprocess.Popen(
        ["speech-dispatcher", "--run-single", "--timeout", "0", "--config-dir", config,
         "--log-dir", folder], env=env, stdout=log, stderr=subprocess.STDOUT)
    socket = os.path.join(desktop.runtime_dir, "speech-dispatcher", "speechd.sock")
    assert wait_until(lambda: os.path.exists(socket) or process.poll() is not None, 15)
    assert process.poll() is None, "speech-dispatcher ended"
    yield process
    stop_process(process, 10)
    shutil.rmtree(folder, ignore_errors=True)


def read_typed_text(desktop, app, sink):
    """Types into the regular sample note, presses its read button and waits for the Reading
    window to come and go; the samples the sink was given meanwhile, and who played them."""
    app.wait_ready()
    note_window(desktop, "Regular Priority Note")
    desktop.run("xdotool", "mousemove", str(REGULAR[0] + 100), str(REGULAR[1] + 90), "click", "1")
    desktop.run("xdotool", "type", "--delay", "20", "Remember to water the plants on Friday.")

    recording = sink.record()
    desktop.run("xdotool", "mousemove", *map(str, READ_BUTTON), "click", "1")
    reading = wait_until(lambda: desktop.visible_windows("^Reading$"), timeout=20)
    assert reading, "the Reading window did not appear"
    players = set()

    def ended():
        players.update(sink.players())
        return not desktop.visible_windows("^Reading$")
    assert wait_until(ended, timeout=60), "the Reading window stayed after the text was spoken"
    return recording.stop(), players


def test_read_button_speaks_the_text_while_the_reading_window_shows(start, data_dir, desktop, sink):
    # The engine is named, so that a speech daemon of the machine's own is never used.
    app = start(data_dir, env={**desktop.env, **sink.env, "BRIGHTPOST_SPEECH_ENGINE": "flite"})
    samples, players = read_typed_text(desktop, app, sink)
    assert audible_seconds(samples) > 1.0, "the sink heard (almost) nothing"
    assert not any("speech-dispatcher" in p for p in players), players
    assert app.running()
    assert app.terminate() == 0


def test_a_desktop_that_runs_speech_dispatcher_speaks_through_it(start, data_dir, desktop, sink,
                                                                 dispatcher):
    app = start(data_dir, env={**desktop.env, **sink.env})
    samples, players = read_typed_text(desktop, app, sink)
    assert audible_seconds(samples) > 1.0, "the sink heard (almost) nothing"
    assert any("speech-dispatcher" in p for p in players), players
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
