"""Private stand-ins for the desktop's sound server and power service, for tests.

NullSoundServer runs a PulseAudio server of its own with one null sink (no sound device is
ever opened) and records what is played into it. PrivateSystemBus runs a dbus-daemon of its
own with a mock logind that records the calls. Both are ended by their process ids.
"""

import array
import math
import os
import shutil
import subprocess
import sys
import tempfile

from processes import stop_process, wait_until

HERE = os.path.dirname(os.path.abspath(__file__))
RECORD_RATE = 8000


def _stop(process):
    stop_process(process)


class NullSoundServer:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="bp-sound-")
        self.socket = os.path.join(self.dir, "native")
        self.server = None
        self.recorder = None
        self.recording = None
        client_conf = os.path.join(self.dir, "client.conf")
        with open(client_conf, "w") as f:
            # A client must never start a server of its own that could reach a real device.
            f.write("autospawn = no\n")
        self.env = {
            "PULSE_SERVER": "unix:" + self.socket,
            "PULSE_CLIENTCONFIG": client_conf,
            "PULSE_RUNTIME_PATH": os.path.join(self.dir, "runtime"),
            "PULSE_STATE_PATH": os.path.join(self.dir, "state"),
            "PULSE_COOKIE": os.path.join(self.dir, "cookie"),
        }

    def start(self):
        script = os.path.join(self.dir, "server.pa")
        with open(script, "w") as f:
            f.write(f"load-module module-native-protocol-unix socket={self.socket} auth-anonymous=1\n")
            f.write("load-module module-null-sink sink_name=recorder rate=44100 channels=1\n")
            f.write("set-default-sink recorder\n")
        env = dict(os.environ, HOME=self.dir, **self.env)
        log = open(os.path.join(self.dir, "pulseaudio.log"), "wb")
        # -n: no default script, so no module for a real device is ever loaded.
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "-F", script, "--daemonize=no", "--exit-idle-time=-1",
             "--disable-shm=yes", "--use-pid-file=no", "--system=no", "--log-target=stderr"],
            stdout=log, stderr=subprocess.STDOUT, env=env)
        if not wait_until(lambda: self._answers(env), timeout=15):
            self.stop()
            raise RuntimeError("the private sound server did not start")
        return self

    def _answers(self, env):
        if self.server.poll() is not None:
            raise RuntimeError("the private sound server ended")
        done = subprocess.run(["pactl", "info"], env=env, capture_output=True, text=True)
        return done.returncode == 0 and "Default Sink: recorder" in done.stdout

    def start_recording(self):
        self.recording = os.path.join(self.dir, "recording.raw")
        env = dict(os.environ, HOME=self.dir, **self.env)
        out = open(self.recording, "wb")
        self.recorder = subprocess.Popen(
            ["parec", "-d", "recorder.monitor", "--raw", "--format=s16le", "--channels=1",
             f"--rate={RECORD_RATE}", "--latency-msec=20"],
            stdout=out, stderr=subprocess.DEVNULL, env=env)
        # Recording has begun once the monitor delivers silence.
        if not wait_until(lambda: os.path.getsize(self.recording) > 0, timeout=10):
            raise RuntimeError("parec does not record")

    def samples(self):
        with open(self.recording, "rb") as f:
            data = f.read()
        values = array.array("h")
        values.frombytes(data[: len(data) // 2 * 2])
        if sys.byteorder != "little":
            values.byteswap()
        return values

    def stop(self):
        _stop(self.recorder)
        _stop(self.server)
        self.recorder = self.server = None
        shutil.rmtree(self.dir, ignore_errors=True)


def tone_frequencies(samples, window_ms=200, step_ms=20, threshold=2000):
    """The frequencies of the tones in a recording, in order, from their zero crossings.

    Each 200 ms window that is loud all through (every 10 ms of it) gives one measurement;
    windows next to each other with the same frequency make one tone. A tone that a busy
    sound server cut in two (a short gap of silence) is still one tone, and nothing depends
    on where the tones start.
    """
    per_ms = RECORD_RATE / 1000
    part = int(10 * per_ms)
    parts_per_window = window_ms // 10
    parts_per_step = step_ms // 10
    loud = []
    for p in range(0, len(samples) - part + 1, part):
        block = samples[p : p + part]
        loud.append(math.sqrt(sum(v * v for v in block) / part) >= threshold / 2)
    # crossings[i]: sign changes among the first i samples
    crossings = [0]
    for a, b in zip(samples, samples[1:]):
        crossings.append(crossings[-1] + ((a < 0) != (b < 0)))

    runs = []  # [frequencies] of windows that follow each other without a quiet one between
    previous_loud = False
    for first in range(0, len(loud) - parts_per_window + 1, parts_per_step):
        if not all(loud[first : first + parts_per_window]):
            previous_loud = False
            continue
        begin, end = first * part, (first + parts_per_window) * part
        frequency = (crossings[end - 1] - crossings[begin]) / 2 / ((end - begin) / RECORD_RATE)
        if previous_loud and abs(runs[-1][-1] - frequency) < 15:
            runs[-1].append(frequency)
        else:
            runs.append([frequency])
        previous_loud = True
    tones = []
    for run in runs:
        if len(run) < 2:
            continue  # a fade or the edge of a cut, not a tone
        frequency = sorted(run)[len(run) // 2]
        if tones and abs(tones[-1] - frequency) < 15:
            continue  # the same tone after a gap
        tones.append(frequency)
    return tones


class PrivateSystemBus:
    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="bp-bus-")
        self.address = "unix:path=" + os.path.join(self.dir, "bus")
        self.daemon = None
        self.mock = None
        self.env = {"DBUS_SYSTEM_BUS_ADDRESS": self.address}

    def start(self, with_logind=True):
        log = open(os.path.join(self.dir, "dbus.log"), "wb")
        self.daemon = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--nopidfile", "--address=" + self.address],
            stdout=log, stderr=subprocess.STDOUT)
        if not wait_until(lambda: os.path.exists(os.path.join(self.dir, "bus")), timeout=10):
            self.stop()
            raise RuntimeError("the private bus did not start")
        if with_logind:
            self.mock = subprocess.Popen(
                [sys.executable, os.path.join(HERE, "mock_logind.py"), self.address, self.dir],
                stdout=log, stderr=subprocess.STDOUT)
            if not wait_until(lambda: os.path.exists(os.path.join(self.dir, "ready")), timeout=15):
                self.stop()
                raise RuntimeError("the mock logind did not start")
        return self

    def answer(self, can_power_off, power_off="ok"):
        with open(os.path.join(self.dir, "answer"), "w") as f:
            f.write(f"{can_power_off}\n{power_off}\n")

    def calls(self):
        try:
            with open(os.path.join(self.dir, "calls")) as f:
                return f.read().split("\n")[:-1]
        except FileNotFoundError:
            return []

    def stop(self):
        _stop(self.mock)
        _stop(self.daemon)
        self.mock = self.daemon = None
        shutil.rmtree(self.dir, ignore_errors=True)
