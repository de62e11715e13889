"""A note's alarm rings in the real program: its beep is heard on a private sound server's
null sink, and its shut-down reaches a mock logind on a private system bus. Nothing reaches a
sound device or the machine's own power service."""

import os
import sys
import time

import pytest

import database
from conftest import ROOT
from desktop import wait_until

sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
from services import NullSoundServer, PrivateSystemBus, tone_frequencies  # noqa: E402

DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
BEEP = 8
SHUT_DOWN = 16
LEAD_SECONDS = 6


@pytest.fixture
def services():
    sound = NullSoundServer().start()
    bus = PrivateSystemBus().start()
    yield sound, bus
    bus.stop()
    sound.stop()


def alarm_database(data_dir, action, due):
    """One note whose one-time alarm with the given actions is due at the given moment."""
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, 1))
    values = {"isReminder": 1, "remindTime": int(due), "remindAction": action,
              "schedule": ";!;!;!", "remindSnoozeTime": 0}
    for name, value in values.items():
        database.edit_notes(path, lambda e, n=name, v=value: database.set_attribute(e, n, v))
    return path


def program_env(desktop, sound, bus):
    env = {k: v for k, v in desktop.env.items() if not k.startswith(("DBUS_", "PULSE_"))}
    env.update(sound.env)
    env.update(bus.env)
    return env


def test_the_beep_plays_four_rising_tones(start, data_dir, desktop, services):
    sound, bus = services
    alarm_database(data_dir, BEEP, time.time() + LEAD_SECONDS)
    sound.start_recording()
    app = start(data_dir, env=program_env(desktop, sound, bus))
    app.wait_ready()

    def four_tones():
        found = tone_frequencies(sound.samples())
        return found if len(found) == 4 else None

    found = wait_until(four_tones, timeout=LEAD_SECONDS + 60, interval=0.5)
    assert found, "no beep was recorded"
    for expected, measured in zip((100, 200, 300, 400), found):
        assert abs(measured - expected) < 8, found
    assert bus.calls() == [], "a beep alone does not touch the power service"
    assert app.terminate() == 0
    assert database.notes(app.database)[1]["isReminder"] == "0", "a one-time alarm rings once"


def test_the_shut_down_asks_logind_and_then_powers_off(start, data_dir, desktop, services):
    sound, bus = services
    bus.answer("yes")
    alarm_database(data_dir, SHUT_DOWN, time.time() + LEAD_SECONDS)
    app = start(data_dir, env=program_env(desktop, sound, bus))
    app.wait_ready()
    assert wait_until(lambda: "PowerOff true" in bus.calls(), timeout=LEAD_SECONDS + 60, interval=0.2), \
        bus.calls()
    assert bus.calls() == ["CanPowerOff", "PowerOff true"]
    assert app.running(), "the mock switched nothing off, and the program goes on"
    assert app.terminate() == 0
