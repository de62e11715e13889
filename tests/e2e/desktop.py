"""A throw-away X11 desktop for end-to-end tests: Xvfb, openbox and a trayer tray host.

Everything started here is ended by its process id when the session stops.
"""

import os
import shutil
import subprocess
import tempfile
import time


def wait_until(predicate, timeout=10.0, interval=0.05):
    """Polls predicate until it returns a true value; returns that value or None."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            return None
        time.sleep(interval)


def end_processes(processes):
    """Ends the processes this test started, last first; a process that ignores the request for
    five seconds is killed."""
    for process in reversed(processes):
        if process.poll() is None:
            process.terminate()
    for process in processes:
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class DesktopSession:
    def __init__(self, geometry="1280x800x24", tray=True, window_manager=True):
        self.geometry = geometry
        self.with_tray = tray
        self.with_wm = window_manager
        self.processes = []
        self.logdir = tempfile.mkdtemp(prefix="bp-e2e-")
        self.runtime_dir = os.path.join(self.logdir, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)
        self.display = None
        self.env = None

    def _spawn(self, name, argv):
        log = open(os.path.join(self.logdir, name + ".log"), "wb")
        process = subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT, env=self.env)
        self.processes.append(process)
        return process

    def run(self, *argv, check=False):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True, check=check)

    def start(self):
        # Xvfb picks a free display itself and reports it, so sessions started at the same
        # time by parallel tests never share a server.
        read_end, write_end = os.pipe()
        log = open(os.path.join(self.logdir, "xvfb.log"), "wb")
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.geometry,
             "-nolisten", "tcp", "-noreset"],
            stdout=log, stderr=subprocess.STDOUT, pass_fds=(write_end,))
        self.processes.append(xvfb)
        os.close(write_end)
        with os.fdopen(read_end) as reported:
            number = reported.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number
        self.env = dict(os.environ)
        self.env.update(DISPLAY=self.display, XDG_RUNTIME_DIR=self.runtime_dir, QT_QPA_PLATFORM="xcb")
        self.env.pop("WAYLAND_DISPLAY", None)
        if not wait_until(lambda: self.run("xdpyinfo").returncode == 0, timeout=10):
            raise RuntimeError("Xvfb did not answer")
        if self.with_wm:
            self._spawn("openbox", ["openbox", "--sm-disable"])
            if not wait_until(
                lambda: "window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK").stdout,
                timeout=10,
            ):
                raise RuntimeError("openbox did not start")
        if self.with_tray:
            self.start_tray()
        return self

    def start_tray(self):
        self._spawn(
            "trayer",
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
             "--heighttype", "pixel", "--height", "24", "--SetDockType", "true",
             "--SetPartialStrut", "true", "--transparent", "false", "--expand", "true"],
        )
        if not wait_until(self._tray_panel, timeout=10):
            raise RuntimeError("trayer did not start")
        time.sleep(0.3)

    def stop(self):
        end_processes(self.processes)
        self.processes = []
        shutil.rmtree(self.logdir, ignore_errors=True)

    # --- what the desktop shows -------------------------------------------------------------

    def _tray_panel(self):
        tree = self.run("xwininfo", "-root", "-tree", "-int").stdout
        for line in tree.splitlines():
            if '("panel" "trayer")' in line:
                return line.split()[0]
        return None

    def tray_icons(self):
        """Window ids of the icons docked in the tray."""
        panel = self._tray_panel()
        if not panel:
            return []
        tree = self.run("xwininfo", "-id", panel, "-tree", "-int").stdout
        icons = []
        for line in tree.splitlines():
            parts = line.split()
            if parts and parts[0].isdigit() and '("' in line and '("panel" "trayer")' not in line:
                icons.append(parts[0])
        return icons

    def window_geometry(self, window_id):
        info = self.run("xwininfo", "-id", str(window_id)).stdout
        values = {}
        for line in info.splitlines():
            line = line.strip()
            for key, name in (("Absolute upper-left X:", "x"), ("Absolute upper-left Y:", "y"),
                              ("Width:", "width"), ("Height:", "height")):
                if line.startswith(key):
                    values[name] = int(line.split(":")[1])
        return values

    def click_tray_icon(self, button=1, count=1, index=0):
        icons = self.tray_icons()
        g = self.window_geometry(icons[index])
        self.run("xdotool", "mousemove", str(g["x"] + g["width"] // 2), str(g["y"] + g["height"] // 2),
                 "sleep", "0.1", "click", "--repeat", str(count), "--delay", "80", str(button))

    def visible_windows(self, name):
        out = self.run("xdotool", "search", "--onlyvisible", "--name", name).stdout
        return [w for w in out.split() if w]

    def stacking(self):
        out = self.run("xprop", "-root", "_NET_CLIENT_LIST_STACKING").stdout
        if "#" not in out:
            return []
        return [int(w.strip(), 16) for w in out.split("#", 1)[1].split(",") if w.strip()]

    def screenshot(self, path, window="root"):
        self.run("import", "-window", str(window), path)
