"""A note's alarm rings in the real program: its beep is heard on a private sound server's
null sink, its shut-down reaches a mock logind on a private system bus, and its "Open" runs a
script of the test's own. Nothing reaches a sound device, the machine's own power service or
the desktop's opener."""

import os
import stat
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
OPEN_PROGRAM = 128
LEAD_SECONDS = 6


@pytest.fixture
def services():
    sound = NullSoundServer().start()
    bus = PrivateSystemBus().start()
    yield sound, bus
    bus.stop()
    sound.stop()


def alarm_database(data_dir, action, due, program=""):
    """One note whose one-time alarm with the given actions is due at the given moment; program
    is what its "Open" names."""
    os.makedirs(data_dir, exist_ok=True)
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, 1))
    values = {"isReminder": 1, "remindTime": int(due), "remindAction": action,
              "schedule": ";!;!;!", "remindSnoozeTime": 0, "remindExe": program}
    for name, value in values.items():
        database.edit_notes(path, lambda e, n=name, v=value: database.set_attribute(e, n, v))
    return path


def recording_script(path, record):
    """An executable script that writes its arguments, one a line, into record."""
    path.write_text(f"#!/bin/sh\nprintf '%s\\n' \"$@\" > '{record}.part'\nmv '{record}.part' '{record}'\n")
    path.chmod(path.stat().st_mode | stat.S_IXUSR)
    return path


def press(desktop, window, key):
    """Presses key in window once it is the active one."""
    desktop.run("xdotool", "windowactivate", window)
    assert wait_until(lambda: desktop.run("xdotool", "getactivewindow").stdout.strip() == window, 10)
    desktop.run("xdotool", "key", key)


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


def test_the_shut_down_warns_for_a_minute_before_logind_is_asked(start, data_dir, desktop, services):
    sound, bus = services
    bus.answer("yes")
    alarm_database(data_dir, SHUT_DOWN, time.time() + LEAD_SECONDS)
    app = start(data_dir, env=program_env(desktop, sound, bus))
    app.wait_ready()
    warning = wait_until(lambda: desktop.visible_windows("^Shutting Down$"), timeout=LEAD_SECONDS + 60)
    assert warning, "no warning before the shut-down"
    assert bus.calls() == ["CanPowerOff"], "nothing is switched off while the warning counts"
    press(desktop, warning[0], "alt+s")
    assert wait_until(lambda: "PowerOff true" in bus.calls(), timeout=15, interval=0.2), bus.calls()
    assert bus.calls() == ["CanPowerOff", "PowerOff true"]
    assert not desktop.visible_windows("^Shutting Down$")
    assert app.running(), "the mock switched nothing off, and the program goes on"
    assert app.terminate() == 0


def test_a_refused_shut_down_holds_back_no_action_and_the_alarm_rings_once(
        start, data_dir, desktop, services, tmp_path):
    sound, bus = services
    bus.answer("no")
    ran = tmp_path / "ran.txt"
    script = recording_script(tmp_path / "my script.sh", ran)
    opened = tmp_path / "opened.txt"
    opener = recording_script(tmp_path / "opener.sh", opened)
    alarm_database(data_dir, SHUT_DOWN | OPEN_PROGRAM, time.time() + LEAD_SECONDS,
                   program=f"'{script}' 'good morning' --loud")
    env = program_env(desktop, sound, bus)
    env["BRIGHTPOST_OPENER"] = str(opener)
    app = start(data_dir, env=env)
    app.wait_ready()
    # The script ran with its arguments, started directly, while the box is still up.
    assert wait_until(ran.exists, timeout=LEAD_SECONDS + 60), "the program did not run"
    assert ran.read_text().splitlines() == ["good morning", "--loud"]
    assert not opened.exists(), "a program is run, not handed to the opener"
    box = wait_until(lambda: desktop.visible_windows("^Error$"), timeout=15)
    assert box, "the refused shut-down is not told"
    assert bus.calls() == ["CanPowerOff"]
    press(desktop, box[0], "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Error$"), timeout=10)
    assert not desktop.visible_windows("^Shutting Down$")
    assert app.terminate() == 0
    assert database.notes(app.database)[1]["isReminder"] == "0", "a one-time alarm rings once"


def test_open_hands_a_document_to_the_opener(start, data_dir, desktop, services, tmp_path):
    sound, bus = services
    document = tmp_path / "my notes.txt"
    document.write_text("not a program\n")
    opened = tmp_path / "opened.txt"
    opener = recording_script(tmp_path / "opener.sh", opened)
    alarm_database(data_dir, OPEN_PROGRAM, time.time() + LEAD_SECONDS, program=str(document))
    env = program_env(desktop, sound, bus)
    env["BRIGHTPOST_OPENER"] = str(opener)
    app = start(data_dir, env=env)
    app.wait_ready()
    assert wait_until(opened.exists, timeout=LEAD_SECONDS + 60), "the document was not opened"
    assert opened.read_text().splitlines() == [str(document)]
    assert not desktop.visible_windows("^Error$")
    assert app.terminate() == 0
