#!/usr/bin/env python3
"""A stand-in for the desktop's notification server on a private session bus.

Run as a program (notification_server.py STATE_DIR [CAPABILITY,...], with
DBUS_SESSION_BUS_ADDRESS set), it owns org.freedesktop.Notifications, says it has the
capabilities given (by default those of a full-featured server), shows nothing, and appends every call it gets to
STATE_DIR/calls, one JSON object a line ({"method": ..., "args": [...]}). A test presses an
action or closes a notification the way a user would through the server's own test methods
Invoke(id, key) and Dismiss(id), which emit ActionInvoked and NotificationClosed (reason 2). STATE_DIR/ready appears once the name is owned.

NotificationServer starts it for a test and reads what it recorded.
"""

import json
import os
import subprocess
import sys
import tempfile

from processes import stop_process, wait_until

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"
TEST_INTERFACE = "org.brightpost.Test.NotificationServer"
# What a full-featured server says it can do: buttons, and mark-up in bodies.
CAPABILITIES = ["actions", "body", "body-markup", "persistence"]


def _plain(value):
    """D-Bus values as JSON can hold them."""
    import dbus
    if isinstance(value, dbus.Boolean):
        return bool(value)
    if isinstance(value, (dbus.Byte, dbus.Int32, dbus.UInt32, dbus.Int64, dbus.UInt64)):
        return int(value)
    if isinstance(value, dbus.String):
        return str(value)
    if isinstance(value, dbus.Array):
        return [_plain(v) for v in value]
    if isinstance(value, dbus.Dictionary):
        return {str(k): _plain(v) for k, v in value.items()}
    return value


def main():
    import dbus
    import dbus.mainloop.glib
    import dbus.service
    from gi.repository import GLib

    state_dir = sys.argv[1]
    capabilities = sys.argv[2].split(",") if len(sys.argv) > 2 else CAPABILITIES

    def record(method, *args):
        with open(os.path.join(state_dir, "calls"), "a") as f:
            f.write(json.dumps({"method": method, "args": [_plain(a) for a in args]}) + "\n")

    class Server(dbus.service.Object):
        def __init__(self, bus):
            super().__init__(bus, PATH)
            self.last_id = 0

        @dbus.service.method(NAME, in_signature="", out_signature="as")
        def GetCapabilities(self):
            record("GetCapabilities")
            return capabilities

        @dbus.service.method(NAME, in_signature="susssasa{sv}i", out_signature="u")
        def Notify(self, app_name, replaces_id, app_icon, summary, body, actions, hints, timeout):
            self.last_id += 1
            record("Notify", app_name, replaces_id, app_icon, summary, body, actions, hints,
                   timeout, self.last_id)
            return self.last_id

        @dbus.service.method(NAME, in_signature="u", out_signature="")
        def CloseNotification(self, notification_id):
            record("CloseNotification", notification_id)
            self.NotificationClosed(notification_id, 3)

        @dbus.service.method(NAME, in_signature="", out_signature="ssss")
        def GetServerInformation(self):
            return "test-server", "Brightpost tests", "1", "1.2"

        @dbus.service.signal(NAME, signature="us")
        def ActionInvoked(self, notification_id, action_key):
            pass

        @dbus.service.signal(NAME, signature="uu")
        def NotificationClosed(self, notification_id, reason):
            pass

        @dbus.service.method(TEST_INTERFACE, in_signature="us", out_signature="")
        def Invoke(self, notification_id, action_key):
            self.ActionInvoked(notification_id, action_key)

        @dbus.service.method(TEST_INTERFACE, in_signature="u", out_signature="")
        def Dismiss(self, notification_id):
            self.NotificationClosed(notification_id, 2)

    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()
    name = dbus.service.BusName(NAME, bus)
    server = Server(bus)
    with open(os.path.join(state_dir, "ready"), "w") as f:
        f.write("ready\n")
    GLib.MainLoop().run()
    del name, server


class NotificationServer:
    """The stand-in server on the session bus that env names; ended by its process id."""

    def __init__(self, env, capabilities=None, workdir=None):
        self.env = env
        self.capabilities = capabilities
        self.dir = tempfile.mkdtemp(prefix="bp-notify-", dir=workdir)
        self.process = None

    @classmethod
    def on_desktop(cls, desktop):
        """Started on the desktop's session bus, and ended with what the test started there."""
        server = cls(desktop.env, workdir=desktop.logdir).start()
        desktop.processes.append(server.process)
        return server

    def start(self):
        log = open(os.path.join(self.dir, "server.log"), "wb")
        argv = [sys.executable, os.path.abspath(__file__), self.dir]
        if self.capabilities is not None:
            argv.append(",".join(self.capabilities))
        self.process = subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT, env=self.env)
        ready = os.path.join(self.dir, "ready")
        if not wait_until(lambda: os.path.exists(ready) or self.process.poll() is not None,
                          timeout=15) or self.process.poll() is not None:
            raise RuntimeError("the stand-in notification server did not start")
        return self

    def stop(self):
        stop_process(self.process)
        self.process = None

    def calls(self, method=None):
        try:
            with open(os.path.join(self.dir, "calls")) as f:
                calls = [json.loads(line) for line in f if line.strip()]
        except FileNotFoundError:
            return []
        return [c for c in calls if method is None or c["method"] == method]

    def notifications(self):
        """Each Notify call as a dict of its arguments by name, with the id it was given."""
        names = ("app_name", "replaces_id", "app_icon", "summary", "body", "actions", "hints",
                 "expire_timeout", "id")
        return [dict(zip(names, c["args"])) for c in self.calls("Notify")]

    def closed(self):
        return [c["args"][0] for c in self.calls("CloseNotification")]

    def _test_call(self, method, *args):
        done = subprocess.run(["gdbus", "call", "--session", "--dest", NAME, "--object-path", PATH,
                               "--method", TEST_INTERFACE + "." + method, *map(str, args)],
                              env=self.env, capture_output=True, text=True)
        assert done.returncode == 0, done.stderr

    def invoke(self, notification_id, action_key):
        """The user presses the action in the notification."""
        self._test_call("Invoke", notification_id, action_key)

    def dismiss(self, notification_id):
        """The user closes the notification itself."""
        self._test_call("Dismiss", notification_id)


if __name__ == "__main__":
    main()
