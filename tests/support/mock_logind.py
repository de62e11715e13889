#!/usr/bin/env python3
"""A stand-in for logind's power-off calls on a private bus; nothing is ever switched off.

mock_logind.py BUS_ADDRESS STATE_DIR

STATE_DIR/answer holds what CanPowerOff answers ("yes", "no", "na", "challenge", or "error"
for a D-Bus error) and is read at every call, so a test can change it; a second line "fail"
makes PowerOff answer with an error. Every call is appended to STATE_DIR/calls, one a line
("CanPowerOff", "PowerOff true"). STATE_DIR/ready appears once the name is owned.
"""

import os
import sys

import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

MANAGER = "org.freedesktop.login1.Manager"


class Manager(dbus.service.Object):
    def __init__(self, bus, state_dir):
        super().__init__(bus, "/org/freedesktop/login1")
        self.state_dir = state_dir

    def _answer(self):
        try:
            with open(os.path.join(self.state_dir, "answer")) as f:
                lines = f.read().split()
        except FileNotFoundError:
            lines = []
        defaults = ["yes", "ok"]
        return lines[:2] + defaults[len(lines[:2]):]

    def _record(self, line):
        with open(os.path.join(self.state_dir, "calls"), "a") as f:
            f.write(line + "\n")

    @dbus.service.method(MANAGER, in_signature="", out_signature="s")
    def CanPowerOff(self):
        self._record("CanPowerOff")
        answer = self._answer()[0]
        if answer == "error":
            raise dbus.exceptions.DBusException("not today", name="org.freedesktop.DBus.Error.AccessDenied")
        return answer

    @dbus.service.method(MANAGER, in_signature="b", out_signature="")
    def PowerOff(self, interactive):
        self._record("PowerOff " + ("true" if interactive else "false"))
        if self._answer()[1] == "fail":
            raise dbus.exceptions.DBusException("refused", name="org.freedesktop.DBus.Error.AccessDenied")


def main():
    address, state_dir = sys.argv[1], sys.argv[2]
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.bus.BusConnection(address)
    name = dbus.service.BusName("org.freedesktop.login1", bus)
    manager = Manager(bus, state_dir)
    with open(os.path.join(state_dir, "ready"), "w") as f:
        f.write("ready\n")
    GLib.MainLoop().run()
    del name, manager


if __name__ == "__main__":
    main()
