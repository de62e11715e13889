"""The alarm's beep, shut-down and desktop notification services against private servers and buses.

Nothing here reaches a sound device or the machine's own logind.
"""

import os
import subprocess
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "support"))
from notification_server import NotificationServer  # noqa: E402
from processes import stop_process, wait_until  # noqa: E402
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


def notifying_probe(env):
    clean = {k: v for k, v in os.environ.items()
             if not k.startswith(("DBUS_", "PULSE_")) and k != "XDG_RUNTIME_DIR"}
    clean.update(env)
    return subprocess.Popen([PROBE, "notify-then-close"], env=clean, stdin=subprocess.PIPE,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def test_notifications_closed_early_never_stay_and_plain_text_stays_plain():
    bus = PrivateSystemBus().start(with_logind=False)
    session = {"DBUS_SESSION_BUS_ADDRESS": bus.address}
    # A server that reads no mark-up gets the text as it is.
    server = NotificationServer(dict(os.environ, **session), capabilities=["actions", "body"])
    probe_process = None
    try:
        server.start()
        probe_process = notifying_probe(session)
        assert probe_process.stdout.readline() == "shown\n"
        # One closed before the server said what it can do is never sent.
        kept = wait_until(server.notifications, timeout=15)
        assert kept and [n["summary"] for n in kept] == ["kept"], server.calls()
        assert kept[0]["body"] == "Milk & eggs <fresh>"
        # One closed before the server answered goes as soon as it has.
        probe_process.stdin.write("next\n")
        probe_process.stdin.flush()
        both = wait_until(lambda: len(server.closed()) == 2 and server.notifications(), timeout=15)
        assert both and [n["summary"] for n in both] == ["kept", "closed at once"], server.calls()
        assert sorted(server.closed()) == sorted(n["id"] for n in both)
        probe_process.stdin.close()
        assert probe_process.wait(timeout=15) == 0
    finally:
        stop_process(probe_process)
        server.stop()
        bus.stop()


def test_without_a_notification_server_or_a_session_bus_showing_one_does_no_harm(tmp_path):
    empty = PrivateSystemBus().start(with_logind=False)
    try:
        # Shown as far as the program can tell; the server's absence only comes back later.
        unanswered = notifying_probe({"DBUS_SESSION_BUS_ADDRESS": empty.address})
        out, _ = unanswered.communicate("next\n", timeout=30)
        assert (unanswered.returncode, out) == (0, "shown\n")
    finally:
        empty.stop()
    no_bus = notifying_probe({"DBUS_SESSION_BUS_ADDRESS": f"unix:path={tmp_path}/no-bus"})
    out, _ = no_bus.communicate("", timeout=30)
    assert (no_bus.returncode, out) == (0, "none\n")
