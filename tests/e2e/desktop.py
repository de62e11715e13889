"""A throw-away X11 desktop for end-to-end tests: Xvfb, openbox and a trayer tray host.

Everything started here is ended by its process id when the session stops.
"""

import ctypes
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "support"))
from processes import end_processes, stop_process, wait_until  # noqa: E402,F401



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
        self.own_processes = 0

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
        # Nearly every test starts on a new data folder: the welcome of a first start would
        # stand above its notes. The welcome's own tests take this out again.
        self.env.update(DISPLAY=self.display, XDG_RUNTIME_DIR=self.runtime_dir, QT_QPA_PLATFORM="xcb",
                        BRIGHTPOST_NO_WELCOME="1")
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
        self.own_processes = len(self.processes)
        return self

    def intact(self):
        """Whether the X server, window manager and tray that start() began all still run."""
        own = self.processes[: self.own_processes]
        return len(own) == self.own_processes and all(p.poll() is None for p in own)

    def restart(self):
        self.stop()
        self.logdir = tempfile.mkdtemp(prefix="bp-e2e-")
        self.runtime_dir = os.path.join(self.logdir, "runtime")
        os.makedirs(self.runtime_dir, mode=0o700)
        return self.start()

    def start_tray(self):
        self._spawn(
            "trayer",
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
             "--heighttype", "pixel", "--height", "24", "--SetDockType", "true",
             "--SetPartialStrut", "true", "--transparent", "false", "--expand", "true"],
        )
        # Ready for icons once its panel exists and it owns the tray selection, which is what
        # programs look for.
        if not wait_until(lambda: self._tray_panel() and self.selection_owner("_NET_SYSTEM_TRAY_S0"),
                          timeout=10):
            raise RuntimeError("trayer did not start")

    def start_session_bus(self):
        """A private session bus for this desktop only; what runs in it from now on uses it.
        Programs started before keep the bus they had (none, in these sessions)."""
        bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                               stdout=subprocess.PIPE, env=self.env)
        self.processes.append(bus)
        address = bus.stdout.readline().decode().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        return address

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

    def selection_owner(self, selection):
        """The window that owns an X selection, or 0."""
        xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
        xlib.XOpenDisplay.restype = ctypes.c_void_p
        xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
        xlib.XInternAtom.restype = ctypes.c_ulong
        xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        xlib.XGetSelectionOwner.restype = ctypes.c_ulong
        xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
        display = xlib.XOpenDisplay(self.display.encode())
        if not display:
            return 0
        try:
            return xlib.XGetSelectionOwner(display, xlib.XInternAtom(display, selection.encode(), 0))
        finally:
            xlib.XCloseDisplay(display)

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

    def active_window(self):
        out = self.run("xprop", "-root", "_NET_ACTIVE_WINDOW").stdout
        return int(out.split("#")[1].split(",")[0], 16) if "#" in out else None

    def wait_active(self, window, timeout=10):
        """Waits until the window manager has made the window active, so that the keys sent
        next reach it; false if it never did."""
        return wait_until(lambda: self.active_window() == int(window), timeout)

    def pixels(self, window="root"):
        return subprocess.run(["import", "-window", str(window), "-depth", "8", "rgb:-"],
                              env=self.env, capture_output=True).stdout

    def wait_drawn(self, window="root", timeout=10):
        """Waits until the window shows the same picture twice in a row: whatever it was asked
        to draw is drawn."""
        previous = [None]

        def unchanged():
            now = self.pixels(window)
            same = bool(now) and now == previous[0]
            previous[0] = now
            return same
        return wait_until(unchanged, timeout, interval=0.1)

    def wait_redrawn(self, window, before, timeout=10):
        """Waits until the window shows something other than the picture before (from
        pixels()), and then has finished drawing it."""
        return (wait_until(lambda: self.pixels(window) != before, timeout, interval=0.1)
                and self.wait_drawn(window, timeout))

    def screenshot(self, path, window="root"):
        self.run("import", "-window", str(window), path)
