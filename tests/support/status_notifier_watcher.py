#!/usr/bin/env python3
"""A stand-in for the StatusNotifierWatcher a desktop's panel runs (as KDE Plasma does, or GNOME
with its AppIndicator extension), on a test's private session bus.

status_notifier_watcher.py BUS_ADDRESS

It owns org.kde.StatusNotifierWatcher and says that a host is registered, so programs register
their tray icons as StatusNotifier items with it. It shows nothing: a test reads the items it
lists (RegisteredStatusNotifierItems, each "bus-name/object-path") and talks to them itself. An
item whose owner leaves the bus is dropped, as a real watcher does. "ready" is printed on
standard output once the name is owned.
"""

import sys

from gi.repository import Gio, GLib

NAME = "org.kde.StatusNotifierWatcher"
PATH = "/StatusNotifierWatcher"
INTERFACE = """
<node>
  <interface name="org.kde.StatusNotifierWatcher">
    <method name="RegisterStatusNotifierItem"><arg name="service" type="s" direction="in"/></method>
    <method name="RegisterStatusNotifierHost"><arg name="service" type="s" direction="in"/></method>
    <property name="RegisteredStatusNotifierItems" type="as" access="read"/>
    <property name="IsStatusNotifierHostRegistered" type="b" access="read"/>
    <property name="ProtocolVersion" type="i" access="read"/>
    <signal name="StatusNotifierItemRegistered"><arg type="s"/></signal>
    <signal name="StatusNotifierItemUnregistered"><arg type="s"/></signal>
    <signal name="StatusNotifierHostRegistered"/>
    <signal name="StatusNotifierHostUnregistered"/>
  </interface>
</node>
"""


class Watcher:
    def __init__(self, connection):
        self.connection = connection
        self.items = []  # "bus-name/object-path", in the order they registered
        self.owners = {}  # item -> the unique name that registered it
        self.hosts = []
        info = Gio.DBusNodeInfo.new_for_xml(INTERFACE).interfaces[0]
        connection.register_object(PATH, info, self.call, self.get_property, None)
        connection.signal_subscribe("org.freedesktop.DBus", "org.freedesktop.DBus",
                                    "NameOwnerChanged", "/org/freedesktop/DBus", None,
                                    Gio.DBusSignalFlags.NONE, self.owner_changed)

    def emit(self, signal, *values):
        body = GLib.Variant("(" + "s" * len(values) + ")", values) if values else None
        self.connection.emit_signal(None, PATH, NAME, signal, body)

    def call(self, connection, sender, path, interface, method, parameters, invocation):
        service = parameters.unpack()[0]
        if method == "RegisterStatusNotifierItem":
            # A bare object path names an object of the caller; a bus name, its usual path.
            if service.startswith("/"):
                item = sender + service
            else:
                item = service + "/StatusNotifierItem"
            if item not in self.items:
                self.items.append(item)
                self.owners[item] = sender
                self.emit("StatusNotifierItemRegistered", item)
        elif method == "RegisterStatusNotifierHost":
            self.hosts.append(service)
            self.emit("StatusNotifierHostRegistered")
        invocation.return_value(None)

    def get_property(self, connection, sender, path, interface, name):
        if name == "RegisteredStatusNotifierItems":
            return GLib.Variant("as", self.items)
        if name == "IsStatusNotifierHostRegistered":
            return GLib.Variant("b", True)
        return GLib.Variant("i", 0)  # ProtocolVersion

    def owner_changed(self, connection, sender, path, interface, signal, parameters):
        name, _old, new = parameters.unpack()
        if new:
            return
        for item in [i for i in self.items if self.owners[i] == name or i.startswith(name + "/")]:
            self.items.remove(item)
            del self.owners[item]
            self.emit("StatusNotifierItemUnregistered", item)


def main():
    address = sys.argv[1]
    connection = Gio.DBusConnection.new_for_address_sync(
        address,
        Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
        None, None)
    watcher = Watcher(connection)  # noqa: F841 (it serves as long as the loop runs)
    loop = GLib.MainLoop()

    def owned(*_):
        print("ready", flush=True)

    def lost(*_):
        print("the name is taken", file=sys.stderr, flush=True)
        loop.quit()

    Gio.bus_own_name_on_connection(connection, NAME, Gio.BusNameOwnerFlags.NONE, owned, lost)
    loop.run()


if __name__ == "__main__":
    main()
