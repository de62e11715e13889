"""A Wayland desktop: GNOME's compositor, headless, with XWayland. Notes are X11 windows there,
because they place and stack themselves, and the program must choose that on its own."""

import glob
import os
import re
import shutil
import signal
import subprocess
import tempfile

import pytest

import database
from conftest import BINARY, ROOT
from desktop import end_processes, wait_until

DEFAULT_DATABASE = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
PLACES = [(120, 90, 260, 180), (520, 300, 300, 220), (880, 480, 230, 175)]

pytestmark = pytest.mark.skipif(not shutil.which("mutter") or not shutil.which("Xwayland"),
                                reason="mutter and xwayland are installed by scripts/deps.sh")


class WaylandSession:
    """mutter --headless in a private session bus and runtime folder; ended by its process group."""

    def __init__(self):
        self.logdir = tempfile.mkdtemp(prefix="bp-wayland-")
        self.runtime_dir = os.path.join(self.logdir, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)
        self.log_path = os.path.join(self.logdir, "mutter.log")
        self.processes = []
        self.env = None

    def start(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE",
                            "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS")}
        env["XDG_RUNTIME_DIR"] = self.runtime_dir
        self.compositor = subprocess.Popen(
            ["dbus-run-session", "--", "mutter", "--headless", "--wayland",
             "--virtual-monitor", "1280x800"],
            stdout=open(self.log_path, "wb"), stderr=subprocess.STDOUT, env=env,
            start_new_session=True)
        # The compositor picks a free X display for XWayland and says which.
        display = wait_until(self._x_display, timeout=120, interval=0.2)
        if not display:
            raise RuntimeError("mutter did not start XWayland:\n" + self.log())
        socket = os.path.join(self.runtime_dir, "wayland-0")
        assert wait_until(lambda: os.path.exists(socket), 60)
        auth = wait_until(lambda: glob.glob(os.path.join(self.runtime_dir, ".mutter-Xwaylandauth.*")), 60)
        self.env = dict(env, WAYLAND_DISPLAY="wayland-0", DISPLAY=display, XAUTHORITY=auth[0])
        if not wait_until(lambda: self.run("xdpyinfo").returncode == 0, timeout=120, interval=0.5):
            raise RuntimeError("XWayland did not answer:\n" + self.log())
        return self

    def log(self):
        with open(self.log_path, errors="replace") as f:
            return f.read()

    def _x_display(self):
        match = re.search(r"Using public X11 display (:\d+)", self.log())
        return match.group(1) if match else None

    def run(self, *argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True)

    def windows(self, name):
        out = self.run("xdotool", "search", "--onlyvisible", "--name", name).stdout
        return [w for w in out.split() if w]

    def program_windows(self):
        """Ids of the program's top-level windows, whatever their titles say."""
        tree = self.run("xwininfo", "-root", "-tree").stdout
        return {line.split()[0] for line in tree.splitlines()
                if '("brightpost" "Brightpost")' in line}

    def geometry(self, window):
        info = self.run("xwininfo", "-id", str(window)).stdout
        values = {}
        for key, name in (("Absolute upper-left X:", "x"), ("Absolute upper-left Y:", "y"),
                          ("Width:", "width"), ("Height:", "height")):
            match = re.search(re.escape(key) + r"\s*(-?\d+)", info)
            values[name] = int(match.group(1)) if match else None
        return (values["x"], values["y"], values["width"], values["height"])

    def stop(self):
        end_processes(self.processes, 30)
        if self.compositor.poll() is None:
            os.killpg(self.compositor.pid, signal.SIGTERM)
            try:
                self.compositor.wait(timeout=30)
            except subprocess.TimeoutExpired:
                os.killpg(self.compositor.pid, signal.SIGKILL)
                self.compositor.wait()
        shutil.rmtree(self.logdir, ignore_errors=True)


@pytest.fixture
def wayland():
    session = WaylandSession().start()
    yield session
    session.stop()


def test_notes_come_up_at_their_stored_places_on_a_wayland_desktop(wayland, data_dir, artifacts):
    path = os.path.join(data_dir, "Brightpost.dat")
    database.write_text(path, database.with_notes(DEFAULT_DATABASE, len(PLACES),
                                                  geometry=lambda i: PLACES[i]))
    # Only what a Wayland session gives a program: no QT_QPA_PLATFORM, and (as from a terminal
    # or a user service) no XDG_SESSION_TYPE either.
    env = dict(wayland.env)
    assert "QT_QPA_PLATFORM" not in env and "XDG_SESSION_TYPE" not in env
    log = open(os.path.join(wayland.logdir, "brightpost.log"), "wb")
    app = subprocess.Popen([BINARY, "--data-dir", data_dir], env=env, stdout=log,
                           stderr=subprocess.STDOUT)
    wayland.processes.append(app)

    def all_placed():
        found = {}
        for i, place in enumerate(PLACES):
            ids = wayland.windows(f"^Note {i + 1}$")
            if not ids or wayland.geometry(ids[0]) != place:
                return None
            found[i] = ids[0]
        return found

    placed = wait_until(all_placed, timeout=180, interval=0.5)
    shown = {i: wayland.geometry(w[0]) if (w := wayland.windows(f"^Note {i + 1}$")) else None
             for i in range(len(PLACES))}
    assert placed, f"notes at {shown}, stored at {PLACES}; running: {app.poll() is None}"
    for i, window in placed.items():
        wayland.run("import", "-window", window, os.path.join(artifacts, f"wayland-note-{i + 1}.png"))

    # A second start hands --new-note to the running copy, which shows a new note window and
    # saves the note.
    before = wayland.program_windows()
    other = subprocess.run([BINARY, "--data-dir", data_dir, "--new-note"], env=env,
                           capture_output=True, text=True, timeout=120)
    assert other.returncode == 0, other.stderr
    new = wait_until(lambda: wayland.program_windows() - before, 120, 0.5)
    assert new, "no window for the new note"
    assert wait_until(lambda: len(database.notes(path)) == len(PLACES) + 1, 60, 0.5)
    wayland.run("import", "-window", sorted(new)[0], os.path.join(artifacts, "wayland-new-note.png"))

    app.send_signal(signal.SIGTERM)
    assert app.wait(timeout=120) == 0
    assert len(database.notes(path)) == len(PLACES) + 1
    # Nothing moved on the way: the stored places are still the ones they came up at.
    stored = database.notes(path)
    for i, place in enumerate(PLACES):
        note = stored[i + 1]
        assert tuple(int(note[k]) for k in ("xPos", "yPos", "Width", "Height")) == place
