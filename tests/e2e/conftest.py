import os
import signal
import subprocess
import tempfile

import pytest

from desktop import DesktopSession, end_processes, wait_until

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BINARY = os.environ.get("BRIGHTPOST_BIN", os.path.join(ROOT, "build", "brightpost"))
ARTIFACTS = os.environ.get("BRIGHTPOST_ARTIFACTS", os.path.join(ROOT, "build", "e2e-artifacts"))


def pytest_configure(config):
    config.addinivalue_line("markers", "slow: a case that takes minutes; CTest runs these apart, "
                            "with the label slow")
    config.addinivalue_line("markers", "fresh_desktop: the test needs a desktop of its own, not "
                            "the one the tests of its file share")


@pytest.fixture(scope="module")
def shared_desktop():
    """One desktop for the tests of a file: starting X, the window manager and the tray for
    every test would cost more than many of the tests themselves."""
    session = DesktopSession().start()
    yield session
    session.stop()


@pytest.fixture
def desktop(request, shared_desktop):
    """The file's desktop, as it was before the test: what the test started on it is ended and
    what it changed in its environment is undone when it ends. A test marked fresh_desktop, and
    every test after one that ended the desktop's own processes, gets a new one."""
    if request.node.get_closest_marker("fresh_desktop"):
        session = DesktopSession().start()
        yield session
        session.stop()
        return
    if not shared_desktop.intact():
        shared_desktop.restart()
    session = shared_desktop
    own_processes = len(session.processes)
    env = dict(session.env)
    yield session
    started = session.processes[own_processes:]
    del session.processes[own_processes:]
    end_processes(started, 15)
    session.env = env
    # The next test must not take the icon of a copy that has just ended for its own.
    if session.intact() and not wait_until(lambda: not session.tray_icons(), 10):
        session.restart()


class Brightpost:
    """One started copy of the program, ended by its process id."""

    def __init__(self, session, data_dir, args=(), env=None):
        self.session = session
        self.data_dir = data_dir
        self.log = open(os.path.join(session.logdir, f"brightpost-{len(session.processes)}.log"), "wb")
        self.process = subprocess.Popen(
            [BINARY, "--data-dir", data_dir, *args],
            stdout=self.log, stderr=subprocess.STDOUT, env=env or session.env,
        )
        session.processes.append(self.process)

    @property
    def database(self):
        return os.path.join(self.data_dir, "Brightpost.dat")

    def running(self):
        return self.process.poll() is None

    def wait_ready(self, timeout=15):
        """Ready once its tray icon is docked."""
        assert wait_until(lambda: self.session.tray_icons() or not self.running(), timeout=timeout)
        assert self.running(), "Brightpost ended during start-up"

    def terminate(self, timeout=15):
        self.process.send_signal(signal.SIGTERM)
        return self.process.wait(timeout=timeout)


@pytest.fixture
def data_dir():
    folder = tempfile.mkdtemp(prefix="bp-data-")
    yield folder
    subprocess.run(["rm", "-rf", folder])


@pytest.fixture
def start(desktop):
    def starter(data_dir, *args, env=None):
        return Brightpost(desktop, data_dir, args, env)
    return starter


@pytest.fixture
def artifacts():
    os.makedirs(ARTIFACTS, exist_ok=True)
    return ARTIFACTS


@pytest.fixture
def small_mount():
    """A tmpfs of 512 KB of its own (as root), for folders that fill up or turn read-only."""
    folder = tempfile.mkdtemp(prefix="bp-mount-")
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=512k,mode=0700", "tmpfs", folder],
                             capture_output=True).returncode == 0
    if not mounted:
        os.rmdir(folder)
        pytest.skip("needs a file system of its own (mount, as root)")
    yield folder
    if subprocess.run(["umount", folder]).returncode != 0:
        subprocess.run(["umount", "--lazy", folder])
    os.rmdir(folder)
