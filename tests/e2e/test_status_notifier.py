"""The tray icon on desktops whose panel hosts StatusNotifier items (KDE Plasma, GNOME with the
AppIndicator extension): no XEmbed tray, a StatusNotifierWatcher on the session bus. The icon,
its tip and its menu are read over D-Bus as such a panel reads them, and the panel's clicks are
sent the same way."""

import os
import subprocess
import sys

import pytest
from gi.repository import Gio, GLib

from conftest import BINARY, Brightpost
from desktop import DesktopSession, wait_until
from test_tray import menu_windows, note_count, note_windows

SUPPORT = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "support")
WATCHER = "org.kde.StatusNotifierWatcher"
ITEM = "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"

# What the desktops themselves put into the environment of the programs they start; Qt picks
# its platform theme by it, and the theme decides between a StatusNotifier item and an XEmbed
# icon.
DESKTOPS = {
    "gnome": {"XDG_CURRENT_DESKTOP": "GNOME", "XDG_SESSION_DESKTOP": "gnome"},
    "kde": {"XDG_CURRENT_DESKTOP": "KDE", "KDE_FULL_SESSION": "true", "KDE_SESSION_VERSION": "5"},
}

TRAY_MENU = [
    "Bright Post", "Notes Manager",
    ("Notes", ["Show All Notes", "Hide All Notes", "-", "Cascade All", "Minimize All", "-",
               "New Note"]),
    "-", ("Settings", ["App Settings", "Notes Settings"]),
    "-", "Find", "-", "Import Notes", "Export Notes", "-", "Recycle Bin", "-", "About",
    "On-line Help", "-", "Save", "-", "Exit",
]


class Bus:
    """A client of the desktop's private session bus, as a panel is one."""

    def __init__(self, address):
        self.connection = Gio.DBusConnection.new_for_address_sync(
            address,
            Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
            | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        self.signals = []

    def call(self, name, path, interface, method, signature=None, *args):
        parameters = GLib.Variant(signature, args) if signature else None
        reply = self.connection.call_sync(name, path, interface, method, parameters, None,
                                          Gio.DBusCallFlags.NONE, 10000, None)
        return reply.unpack() if reply is not None else ()

    def get(self, name, path, interface, prop):
        return self.call(name, path, "org.freedesktop.DBus.Properties", "Get", "(ss)",
                         interface, prop)[0]

    def record_signals(self, interface):
        def received(connection, sender, path, iface, signal, parameters):
            self.signals.append(signal)
        self.connection.signal_subscribe(None, interface, None, None, None,
                                         Gio.DBusSignalFlags.NONE, received)

    def dispatch(self):
        context = GLib.MainContext.default()
        while context.pending():
            context.iteration(False)

    def items(self):
        return self.get(WATCHER, "/StatusNotifierWatcher", WATCHER, "RegisteredStatusNotifierItems")


class Item:
    """A registered StatusNotifier item: its bus name and object path."""

    def __init__(self, bus, registered):
        self.bus = bus
        self.name, _, path = registered.partition("/")
        self.path = "/" + path

    def get(self, prop):
        return self.bus.get(self.name, self.path, ITEM, prop)

    def activate(self, x=1200, y=12):
        self.bus.call(self.name, self.path, ITEM, "Activate", "(ii)", x, y)

    def owner_pid(self):
        return self.bus.call("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                             "GetConnectionUnixProcessID", "(s)", self.name)[0]

    def tip(self):
        return self.get("ToolTip")[2]

    def menu_layout(self):
        _revision, layout = self.bus.call(self.name, self.get("Menu"), MENU, "GetLayout", "(iias)",
                                          0, -1, [])
        return layout

    def menu_event(self, entry_id, event="clicked"):
        self.bus.call(self.name, self.get("Menu"), MENU, "Event", "(isvu)", entry_id, event,
                      GLib.Variant("s", ""), 0)


def labels(layout):
    """The menu as TRAY_MENU writes it: each entry's label up to its shortcut column ("-" for
    a separator), a submenu as (label, entries)."""
    entries = []
    for _id, properties, children in layout[2]:
        label = ("-" if properties.get("type") == "separator"
                 else properties.get("label", "").split("\t")[0])
        entries.append((label, labels((0, {}, children))) if children else label)
    return entries


def find_entry(layout, label):
    for entry_id, properties, children in layout[2]:
        if properties.get("label", "").split("\t")[0] == label:
            return entry_id, properties
        found = find_entry((entry_id, properties, children), label)
        if found:
            return found
    return None


@pytest.fixture(scope="module")
def panel_desktop():
    """A desktop without an XEmbed tray whose panel runs a StatusNotifierWatcher."""
    session = DesktopSession(tray=False).start()
    try:
        address = session.start_session_bus()
        watcher = subprocess.Popen([sys.executable, os.path.join(SUPPORT, "status_notifier_watcher.py"),
                                    address], stdout=subprocess.PIPE, env=session.env)
        session.processes.append(watcher)
        assert watcher.stdout.readline().strip() == b"ready", "the watcher did not start"
        session.own_processes = len(session.processes)
        yield session, Bus(address)
    finally:
        session.stop()


@pytest.fixture
def panel(panel_desktop):
    session, bus = panel_desktop
    own_processes = len(session.processes)
    yield session, bus
    started = session.processes[own_processes:]
    del session.processes[own_processes:]
    for process in reversed(started):
        process.terminate()
    for process in started:
        process.wait(timeout=15)
    # The next test must not take the item of a copy that has just ended for its own.
    assert wait_until(lambda: not bus.items(), 10)


def start_on_panel(panel, data_dir, desktop="gnome"):
    session, bus = panel
    app = Brightpost(session, data_dir, env=dict(session.env, **DESKTOPS[desktop]))
    registered = wait_until(lambda: bus.items() or not app.running(), 20)
    assert app.running(), "Brightpost ended during start-up"
    assert len(registered) == 1, registered
    item = Item(bus, registered[0])
    # Its notes are on the desktop once set-up is through.
    assert wait_until(lambda: len(note_windows(session)) == 3, 10)
    return app, item


@pytest.mark.parametrize("desktop", sorted(DESKTOPS))
def test_the_icon_registers_with_its_tip_and_its_whole_menu(panel, data_dir, desktop):
    session, _ = panel
    app, item = start_on_panel(panel, data_dir, desktop)
    assert item.owner_pid() == app.process.pid
    assert item.get("Status") == "Active"
    # Drawn from the program's own picture, not a theme's icon name.
    assert item.get("IconName") == "" and item.get("IconPixmap")
    assert item.tip() == "Brightpost\nCreated notes: 3\nVisible notes: 3\nInvisible notes: 0"

    assert item.get("Menu") != "/NO_DBUSMENU"
    layout = item.menu_layout()
    assert labels(layout) == TRAY_MENU
    # The hot keys are in the entries, as in the menu the program opens itself.
    new_note = find_entry(layout, "New Note")[1]
    assert new_note["label"] == "New Note\tCtrl + Alt + N"
    # A new database moves deleted notes to the bin, so its entry is there to press.
    assert find_entry(layout, "Recycle Bin")[1].get("enabled", True)
    assert not find_entry(layout, "Bright Post")[1].get("enabled", True)


def test_the_panel_s_clicks_open_the_menu_make_a_note_and_run_menu_entries(panel, data_dir):
    session, bus = panel
    app, item = start_on_panel(panel, data_dir)
    stored = note_count(app.database)
    notes = note_windows(session)

    # One activation is a single click: the program's own menu opens at the pointer.
    session.run("xdotool", "mousemove", "1200", "12")
    item.activate()
    menus = wait_until(lambda: menu_windows(session), 5)
    assert menus, "no menu after the panel activated the item"
    assert session.wait_drawn(next(iter(menus)))
    session.run("xdotool", "key", "Escape")
    assert wait_until(lambda: not menu_windows(session), 5)

    # Two within the double-click time are a double click: a note, and no menu.
    item.activate()
    item.activate()
    assert wait_until(lambda: len(note_windows(session) - notes) == 1, 5)
    assert wait_until(lambda: note_count(app.database) == stored + 1, 5)
    # Nothing to wait for when no menu comes: give one that would follow the first
    # activation more than the double-click wait to show.
    assert not wait_until(lambda: menu_windows(session), 0.8)
    assert len(note_windows(session) - notes) == 1

    # An entry the panel's own menu sends back runs as the program's menu item does.
    entry_id, _ = find_entry(item.menu_layout(), "New Note")
    item.menu_event(entry_id)
    assert wait_until(lambda: note_count(app.database) == stored + 2, 5)
    assert wait_until(lambda: len(note_windows(session) - notes) == 2, 5)


def test_hidden_notes_change_the_icon_and_the_tip(panel, data_dir):
    session, bus = panel
    app, item = start_on_panel(panel, data_dir)
    bus.record_signals(ITEM)
    shown_icon = item.get("IconPixmap")
    run = lambda *args: subprocess.run([BINARY, "--data-dir", data_dir, *args], env=session.env,
                                       capture_output=True, timeout=20)

    assert run("--hide-all").returncode == 0
    assert wait_until(lambda: not note_windows(session), 5)

    def signalled(name):
        bus.dispatch()
        return name in bus.signals
    assert wait_until(lambda: signalled("NewIcon"), 5), bus.signals
    hidden_icon = item.get("IconPixmap")
    assert hidden_icon and hidden_icon != shown_icon
    assert wait_until(lambda: item.tip().endswith("Visible notes: 0\nInvisible notes: 3"), 5)

    bus.signals.clear()
    assert run("--show-all").returncode == 0
    assert wait_until(lambda: signalled("NewIcon"), 5), bus.signals
    assert item.get("IconPixmap") == shown_icon


def test_a_bus_without_a_watcher_and_no_tray_still_starts_the_program(data_dir):
    session = DesktopSession(tray=False).start()
    try:
        session.start_session_bus()
        app = Brightpost(session, data_dir, env=dict(session.env, **DESKTOPS["gnome"]))
        assert wait_until(lambda: len(note_windows(session)) == 3 or not app.running(), 15)
        assert app.running()
        assert app.terminate() == 0
    finally:
        session.stop()
