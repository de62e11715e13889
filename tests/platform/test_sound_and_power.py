"""The alarm's beep and shut-down services against a private sound server and system bus.

Nothing here reaches a sound device or the machine's own logind.
"""

import os
import subprocess
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "support"))
from services import NullSoundServer, PrivateSystemBus, tone_frequencies  # noqa: E402

PROBE = os.environ.get("BRIGHTPOST_PROBE", "platform_probe")


def probe(command, env):
    # The machine's own buses and sound server are never inherited.
    clean = {k: v for k, v in os.environ.items()
             if not k.startswith(("DBUS_", "PULSE_")) and k != "XDG_RUNTIME_DIR"}
    clean.update(env)
    done = subprocess.run([PROBE, command], env=clean, capture_output=True, text=True, timeout=60)
    assert done.returncode == 0, done.stderr
    return done.stdout.split("\n")


@pytest.fixture
def bus():
    b = PrivateSystemBus().start()
    yield b
    b.stop()


@pytest.mark.parametrize("answer,allowed,reason", [
    ("yes", True, ""), ("challenge", True, ""),
    ("no", False, 'does not allow this user to switch the computer off (it answered "no")'),
    ("na", False, "switching off is not available on this system"),
    ("error", False, "logind answered with an error (not today)"),
    ("maybe", False, '(it answered "maybe")'),
])
def test_can_power_off_follows_loginds_answer(bus, answer, allowed, reason):
    bus.answer(answer)
    out = probe("can-power-off", bus.env)
    assert out[0] == ("true" if allowed else "false")
    assert reason in out[1] and bool(out[1]) == bool(reason), out
    assert bus.calls() == ["CanPowerOff"]


@pytest.mark.parametrize("outcome,reported,reason", [
    ("ok", "true", ""), ("fail", "false", "logind answered with an error (refused)"),
])
def test_power_off_asks_logind_interactively(bus, outcome, reported, reason):
    bus.answer("yes", outcome)
    assert probe("power-off", bus.env)[:2] == [reported, reason]
    assert bus.calls() == ["PowerOff true"]


def test_without_logind_or_a_bus_nothing_is_allowed_and_the_reason_says_why(tmp_path):
    empty = PrivateSystemBus().start(with_logind=False)
    not_running = ["false", "logind, the system's power service, is not running"]
    try:
        assert probe("can-power-off", empty.env)[:2] == not_running
        assert probe("power-off", empty.env)[:2] == not_running
    finally:
        empty.stop()
    gone = {"DBUS_SYSTEM_BUS_ADDRESS": f"unix:path={tmp_path}/no-bus"}
    unreachable = ["false", "the system bus cannot be reached"]
    assert probe("can-power-off", gone)[:2] == unreachable
    assert probe("power-off", gone)[:2] == unreachable


def test_beep_plays_four_rising_tones_without_blocking():
    sound = NullSoundServer().start()
    try:
        sound.start_recording()
        out = probe("beep", sound.env)
        samples = sound.samples()
    finally:
        sound.stop()
    # The call came back while the tones were still to be heard, and the output was let go
    # once they were.
    assert out[:2] == ["returned playing", "done idle"]
    found = tone_frequencies(samples)
    assert len(found) == 4, found
    for expected, measured in zip((100, 200, 300, 400), found):
        assert abs(measured - expected) < 8, found


def test_without_a_sound_server_the_beep_returns_and_plays_nothing(tmp_path):
    client_conf = tmp_path / "client.conf"
    client_conf.write_text("autospawn = no\n")
    out = probe("beep", {"PULSE_SERVER": f"unix:{tmp_path}/no-server",
                         "PULSE_CLIENTCONFIG": str(client_conf)})
    assert out[0].startswith("returned ")
    assert out[1] == "done idle"
