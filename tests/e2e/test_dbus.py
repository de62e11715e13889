"""Scripts reach the running copy on the session bus: every method of its interface, the error
replies, the signals, ids that outlast a restart, and a call that starts Brightpost."""

import os
import signal
import subprocess

import dbus
import pytest

from conftest import BINARY
from desktop import wait_until

NAME = "org.brightpost.Brightpost"
PATH = "/org/brightpost/Brightpost"
ERROR = "org.brightpost.Brightpost.Error."
NOTE_SIZE_LIMIT = 1_048_576


def interface(address):
    """The running copy's interface, once it has taken the name: after its notes are up,
    which is after its tray icon shows."""
    bus = dbus.bus.BusConnection(address)
    assert wait_until(lambda: bus.name_has_owner(NAME), 30)
    return dbus.Interface(bus.get_object(NAME, PATH, introspect=False), NAME)


def notes_by_id(brightpost):
    return {str(note[0]): (str(note[1]), str(note[2]), int(note[3]))
            for note in brightpost.ListNotes()}


def error_name(call, *args):
    with pytest.raises(dbus.DBusException) as refused:
        call(*args)
    return refused.value.get_dbus_name()


def close_windows(desktop, name):
    for window in desktop.visible_windows(name):
        desktop.run("xdotool", "windowactivate", "--sync", window, "key", "Escape")
    assert wait_until(lambda: not desktop.visible_windows(name), 10)


@pytest.fixture
def bus_desktop(desktop):
    desktop.start_session_bus()
    return desktop


def watch_signals(desktop):
    """gdbus monitor's lines for the object, collected in a file."""
    path = os.path.join(desktop.logdir, "signals.log")
    log = open(path, "wb")
    monitor = subprocess.Popen(["gdbus", "monitor", "--session", "--dest", NAME,
                                "--object-path", PATH], stdout=log, stderr=subprocess.STDOUT,
                               env=desktop.env)
    desktop.processes.append(monitor)

    def lines():
        with open(path) as seen:
            return seen.read()
    # It prints that it is monitoring once its match rules are on the bus.
    assert wait_until(lambda: "Monitoring" in lines(), 10), lines()
    return lines


def test_scripts_drive_the_notes_over_the_session_bus(bus_desktop, start, data_dir):
    desktop = bus_desktop
    address = desktop.env["DBUS_SESSION_BUS_ADDRESS"]
    app = start(data_dir)
    app.wait_ready(timeout=60)
    brightpost = interface(address)
    signals = watch_signals(desktop)
    before = notes_by_id(brightpost)

    note = str(brightpost.NewNote("Groceries", "milk\nmarmalade"))
    assert wait_until(lambda: f"NoteAdded ('{note}',)" in signals(), 10), signals()
    assert notes_by_id(brightpost)[note] == ("Groceries", "visible", 0)
    assert [str(part) for part in brightpost.GetNote(note)] == ["Groceries", "milk\nmarmalade"]
    assert [str(found) for found in brightpost.Find("marmalade")] == [note]

    assert wait_until(lambda: desktop.visible_windows("^Groceries$"), 10)
    brightpost.HideNote(note)
    assert notes_by_id(brightpost)[note][1] == "hidden"
    assert wait_until(lambda: not desktop.visible_windows("^Groceries$"), 10)
    assert wait_until(lambda: f"NoteChanged ('{note}',)" in signals(), 10), signals()
    brightpost.ToggleNote(note)
    assert notes_by_id(brightpost)[note][1] == "visible"
    brightpost.HideAll()
    assert {state for _, state, _ in notes_by_id(brightpost).values()} <= {"hidden", "in-bin"}
    brightpost.ShowAll()
    brightpost.HideNote(note)
    brightpost.ShowNote(note)
    brightpost.RaiseNote(note)
    assert notes_by_id(brightpost)[note][1] == "visible"
    assert wait_until(lambda: desktop.visible_windows("^Groceries$"), 10)

    # Refusals change nothing: no note is half made.
    assert error_name(brightpost.GetNote, "no-such-note") == ERROR + "UnknownNote"
    assert error_name(brightpost.ShowNote, "no-such-note") == ERROR + "UnknownNote"
    assert error_name(brightpost.NewNote, "", "text") == ERROR + "BadArgument"
    assert error_name(brightpost.NewNote, "Long", "x" * (NOTE_SIZE_LIMIT + 1)) == \
        ERROR + "BadArgument"
    assert error_name(brightpost.Find, "") == ERROR + "BadArgument"
    assert set(notes_by_id(brightpost)) == set(before) | {note}

    brightpost.OpenNotesManager()
    assert wait_until(lambda: desktop.visible_windows("^Notes Manager$"), 10)
    # While a window waits for the user the program takes no requests, and says to ask later.
    brightpost.OpenFind("marmalade")
    assert wait_until(lambda: desktop.visible_windows("^Find$"), 10)
    assert error_name(brightpost.NewNote, "Later", "text") == ERROR + "NotNow"
    close_windows(desktop, "^Find$")
    assert set(notes_by_id(brightpost)) == set(before) | {note}
    brightpost.OpenAlarmDialog(note)
    assert wait_until(lambda: desktop.visible_windows("^Alarm Settings$"), 10)
    close_windows(desktop, "^Alarm Settings$")

    brightpost.MoveToRecycleBin(note)
    assert notes_by_id(brightpost)[note][1] == "in-bin"
    assert brightpost.Find("marmalade") == []
    assert error_name(brightpost.ShowNote, note) == ERROR + "BadArgument"

    # The ids are the notes' own: the same after the program ends and starts again.
    ids = notes_by_id(brightpost)
    assert app.terminate(timeout=60) == 0
    app = start(data_dir)
    app.wait_ready(timeout=60)
    assert notes_by_id(interface(address)) == ids

    # The name is one per session: a copy on another data folder runs without it.
    other_folder = os.path.join(desktop.logdir, "other-data")
    other = start(other_folder)

    def told():
        with open(other.log.name) as log:
            return log.read()
    assert wait_until(lambda: "another copy answers" in told() or not other.running(), 60)
    assert other.running(), told()
    assert notes_by_id(interface(address)) == ids


BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir={folder}</listen>
  <servicedir>{services}</servicedir>
  <limit name="service_start_timeout">60000</limit>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
"""


def test_a_call_to_the_name_starts_brightpost(desktop, data_dir):
    folder = os.path.join(desktop.logdir, "activation")
    services = os.path.join(folder, "services")
    os.makedirs(services)
    with open(os.path.join(services, NAME + ".service"), "w") as service:
        service.write(f"[D-BUS Service]\nName={NAME}\nExec={BINARY} --data-dir {data_dir}\n")
    config = os.path.join(folder, "bus.conf")
    with open(config, "w") as conf:
        conf.write(BUS_CONFIG.format(folder=folder, services=services))

    read_end, write_end = os.pipe()
    log = open(os.path.join(folder, "bus.log"), "wb")
    daemon = subprocess.Popen(["dbus-daemon", "--config-file", config, "--nofork",
                               f"--print-address={write_end}"], pass_fds=(write_end,),
                              stdout=log, stderr=subprocess.STDOUT, env=desktop.env)
    desktop.processes.append(daemon)
    os.close(write_end)
    with os.fdopen(read_end) as reported:
        address = reported.readline().strip()
    assert address, "dbus-daemon did not start"

    bus = dbus.bus.BusConnection(address)
    assert not bus.name_has_owner(NAME)
    brightpost = dbus.Interface(bus.get_object(NAME, PATH, introspect=False), NAME)
    assert len(brightpost.ListNotes(timeout=60)) >= 1
    assert os.path.exists(os.path.join(data_dir, "Brightpost.dat"))

    # Started by the bus, it is ended here by the process id the bus knows it by.
    started = int(bus.call_blocking("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                    "org.freedesktop.DBus", "GetConnectionUnixProcessID", "s",
                                    (NAME,)))
    os.kill(started, signal.SIGTERM)
    assert wait_until(lambda: not bus.name_has_owner(NAME), 60)
