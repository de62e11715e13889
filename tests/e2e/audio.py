"""A private PulseAudio server whose only output is a null sink, for tests that check what the
program would have played. Nothing reaches a real sound device.

    sink = NullSink().start()
    env = {**session.env, **sink.env}    # the program plays into the sink
    recording = sink.record()
    ...
    samples = recording.stop()           # 16-bit mono samples at RATE
    assert audible_seconds(samples) > 0.5
    sink.stop()

Everything started here is ended by its process id.
"""

import array
import os
import shutil
import signal
import subprocess
import tempfile
import time

from desktop import end_processes, wait_until

RATE = 16000


class Recording:
    """parec on the sink's monitor, writing raw 16-bit mono samples into a file."""

    def __init__(self, sink):
        self.path = os.path.join(sink.folder, f"recording-{time.monotonic_ns()}.raw")
        self._file = open(self.path, "wb")
        self.process = subprocess.Popen(
            ["parec", "--device", sink.name + ".monitor", "--raw", "--format=s16le",
             f"--rate={RATE}", "--channels=1", "--latency-msec=20"],
            stdout=self._file, stderr=subprocess.DEVNULL, env=sink.client_env())
        sink.processes.append(self.process)

    def stop(self):
        if self.process.poll() is None:
            # An interrupt lets parec write out what it still holds before it ends.
            self.process.send_signal(signal.SIGINT)
            self.process.wait(timeout=10)
        self._file.close()
        samples = array.array("h")
        with open(self.path, "rb") as raw:
            data = raw.read()
        samples.frombytes(data[: len(data) // 2 * 2])
        return samples


class NullSink:
    def __init__(self, name="bp_null"):
        self.name = name
        self.folder = tempfile.mkdtemp(prefix="bp-audio-")
        self.socket = os.path.join(self.folder, "native")
        self.processes = []
        self.server = None

    @property
    def env(self):
        """What a client needs to play into this sink and nowhere else."""
        return {"PULSE_SERVER": "unix:" + self.socket, "PULSE_SINK": self.name}

    def client_env(self):
        env = dict(os.environ)
        env.update(self.env)
        return env

    def start(self, timeout=15):
        home = os.path.join(self.folder, "home")
        runtime = os.path.join(self.folder, "runtime")
        os.makedirs(home, mode=0o700)
        os.makedirs(runtime, mode=0o700)
        # The daemon reads and writes its state under HOME and the runtime folder: both are
        # ours, so the user's own sound set-up is neither used nor touched.
        env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime,
                   XDG_CONFIG_HOME=os.path.join(home, ".config"))
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        env.pop("DISPLAY", None)
        log = open(os.path.join(self.folder, "pulseaudio.log"), "wb")
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "--disallow-exit", "--log-target=stderr",
             "-L", f"module-null-sink sink_name={self.name}",
             "-L", f"module-native-protocol-unix socket={self.socket} auth-anonymous=1"],
            stdout=log, stderr=subprocess.STDOUT, env=env)
        self.processes.append(self.server)

        def answers():
            if self.server.poll() is not None:
                raise RuntimeError("pulseaudio ended; see " + log.name)
            return subprocess.run(["pactl", "list", "short", "sinks"], env=self.client_env(),
                                  capture_output=True, text=True).stdout.find(self.name) >= 0
        if not wait_until(answers, timeout):
            raise RuntimeError("pulseaudio did not answer")
        return self

    def record(self):
        recording = Recording(self)
        # Sound played before parec is connected to the monitor would not be recorded.
        if not wait_until(self._has_source_output, 10):
            raise RuntimeError("parec did not connect")
        return recording

    def players(self):
        """The application names of the streams playing into the sink now."""
        out = subprocess.run(["pactl", "list", "sink-inputs"], env=self.client_env(),
                             capture_output=True, text=True).stdout
        return {line.split("=", 1)[1].strip().strip('"') for line in out.splitlines()
                if line.strip().startswith("application.name =")}

    def _has_source_output(self):
        out = subprocess.run(["pactl", "list", "short", "source-outputs"], env=self.client_env(),
                             capture_output=True, text=True).stdout
        return bool(out.strip())

    def stop(self):
        end_processes(self.processes)
        self.processes = []
        shutil.rmtree(self.folder, ignore_errors=True)


def audible_seconds(samples, threshold=500, window=RATE // 50):
    """How long the recording holds sound: the number of 20 ms windows whose loudest sample
    passes the threshold (silence and the sink's faint noise stay under it), in seconds."""
    loud = 0
    for start in range(0, len(samples), window):
        chunk = samples[start:start + window]
        if chunk and max(abs(s) for s in chunk) >= threshold:
            loud += 1
    return loud * window / RATE
