"""The tray icon, its menu, hot keys and command-line actions on a real X desktop."""

import os
import random
import re
import socket
import subprocess
import time

import pytest

from conftest import BINARY, ROOT, Brightpost
from desktop import DesktopSession, wait_until

MENU_BACKGROUND = "#2B2B2B"


def program_windows(desktop):
    out = desktop.run("xdotool", "search", "--onlyvisible", "--class", "brightpost").stdout
    return set(out.split())


def note_windows(desktop):
    """Visible windows of the program that the window manager manages (menus are not), other
    than the Notes Manager."""
    stacking = {str(w) for w in desktop.stacking()}
    manager = set(desktop.visible_windows("^Notes Manager$"))
    return {w for w in program_windows(desktop) if w in stacking and w not in manager}


def menu_windows(desktop):
    """Visible windows of the program outside the window manager's list: popup menus."""
    stacking = {str(w) for w in desktop.stacking()} | set(desktop.tray_icons())
    return {w for w in program_windows(desktop) if w not in stacking}


def settle(app, desktop):
    """Ready once the tray icon is docked and the stored notes are on the desktop."""
    app.wait_ready()
    assert wait_until(lambda: note_windows(desktop), 10)
    assert desktop.wait_drawn()


def note_count(path):
    with open(path, "rb") as f:
        return f.read().count(b"<note nid=")


def pixel(desktop, path, x, y):
    out = desktop.run("convert", path, "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-").stdout
    return out.split()[-2] if "#" in out else out


def open_menu_with_keys(desktop, app, keys):
    """Opens the tray menu with a right click and walks it with the keyboard."""
    desktop.click_tray_icon(button=3)
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus
    # Drawn once it has been shown, and so has the keyboard.
    assert desktop.wait_drawn(next(iter(menus)))
    desktop.run("xdotool", "key", "--delay", "120", *keys)


def test_click_opens_the_dark_menu(start, data_dir, desktop, artifacts):
    app = start(data_dir)
    settle(app, desktop)
    desktop.click_tray_icon()
    menus = wait_until(lambda: menu_windows(desktop), 5)
    assert menus, "no menu after a click on the tray icon"
    menu_id = menus.pop()
    assert desktop.wait_drawn(menu_id)
    menu = desktop.window_geometry(menu_id)
    assert menu["height"] >= 32 * 10 + 6 * 7
    shot = os.path.join(artifacts, "tray-menu.png")
    desktop.screenshot(shot)
    # Right of the text of "Exit", the last item: the dark background.
    assert pixel(desktop, shot, menu["x"] + menu["width"] - 8, menu["y"] + menu["height"] - 6) == MENU_BACKGROUND


def test_double_click_creates_a_note_that_save_writes(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    stored = note_count(app.database)
    notes = note_windows(desktop)
    desktop.click_tray_icon(count=2)
    assert wait_until(lambda: len(note_windows(desktop) - notes) == 1, 5)
    # A double click opens no menu: nothing to wait for, so the test gives a menu that would
    # follow the first click more than the double-click interval to show.
    time.sleep(0.6)
    assert not menu_windows(desktop)
    # Making the note saved it; "Save" writes the database again, through a new file.
    assert wait_until(lambda: note_count(app.database) == stored + 1, 5)
    saved = os.stat(app.database).st_ino
    # "Save" is the second entry from the bottom, whichever entries above it are enabled.
    open_menu_with_keys(desktop, app, ["Up", "Up", "Return"])
    assert wait_until(lambda: os.stat(app.database).st_ino != saved, 5)
    assert note_count(app.database) == stored + 1


def test_hot_keys_create_hide_and_show_notes(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    notes = note_windows(desktop)
    desktop.run("xdotool", "key", "ctrl+alt+n")
    assert wait_until(lambda: len(note_windows(desktop) - notes) == 1, 5)
    shown = len(note_windows(desktop))
    desktop.run("xdotool", "key", "ctrl+alt+h")
    assert wait_until(lambda: not note_windows(desktop), 5)
    desktop.run("xdotool", "key", "ctrl+alt+s")
    assert wait_until(lambda: len(note_windows(desktop)) == shown, 5)


def test_cascade_all_moves_the_notes(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    assert len(note_windows(desktop)) == 3
    # Notes Manager, Notes > Show All, Close All, Cascade All.
    open_menu_with_keys(desktop, app, ["Down", "Down", "Right", "Down", "Down", "Return"])
    expected = {(0, 0, 230, 175), (15, 30, 230, 175), (30, 60, 230, 175)}

    def geometries():
        found = set()
        for window in note_windows(desktop):
            g = desktop.window_geometry(window)
            found.add((g["x"], g["y"], g["width"], g["height"]))
        return found

    assert wait_until(lambda: geometries() == expected, 5), geometries()


def choose_file(desktop, caption, path):
    dialogs = wait_until(lambda: desktop.visible_windows(caption), 10)
    assert dialogs, f"no {caption} dialog"
    assert desktop.wait_active(dialogs[0]), f"the {caption} dialog is not active"
    assert desktop.wait_drawn(dialogs[0])
    desktop.run("xdotool", "type", "--delay", "20", path)
    desktop.run("xdotool", "key", "Return")


def test_export_then_import_into_another_data_folder(start, data_dir, desktop, tmp_path):
    app = start(data_dir)
    settle(app, desktop)
    exported = str(tmp_path / "round-trip")
    open_menu_with_keys(desktop, app, ["Down"] * 6 + ["Return"])  # Export Notes
    choose_file(desktop, "Export Notes", exported)
    assert wait_until(lambda: os.path.exists(exported + ".dat"), 10)
    assert app.terminate() == 0

    second_dir = str(tmp_path / "second")
    second = start(second_dir)
    settle(second, desktop)
    before = note_count(second.database)
    open_menu_with_keys(desktop, second, ["Down"] * 5 + ["Return"])  # Import Notes
    choose_file(desktop, "Import Notes", exported + ".dat")
    assert wait_until(lambda: note_count(second.database) == before + 3, 10)
    assert wait_until(lambda: len(note_windows(desktop)) == before + 3, 5)


def test_command_line_actions_reach_the_running_copy(start, data_dir, desktop):
    app = start(data_dir)
    settle(app, desktop)
    notes = note_windows(desktop)
    run = lambda *args: subprocess.run([BINARY, "--data-dir", data_dir, *args], env=desktop.env,
                                       capture_output=True, timeout=20)
    assert run("--new-note").returncode == 0
    assert wait_until(lambda: len(note_windows(desktop) - notes) == 1, 5)
    stored = note_count(app.database)
    assert run("--save").returncode == 0
    assert wait_until(lambda: note_count(app.database) == stored, 5)
    assert run("--quit").returncode == 0
    assert app.process.wait(timeout=10) == 0
    assert note_count(app.database) == len(notes) + 1
    # With nothing running, --quit starts nothing.
    quiet = run("--quit")
    assert quiet.returncode == 0
    assert not desktop.tray_icons()


def test_help_and_version_need_no_desktop():
    env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
    out = subprocess.run([BINARY, "--help"], env=env, capture_output=True, text=True, timeout=20)
    assert out.returncode == 0
    for option in ("--new-note", "--show-all", "--hide-all", "--toggle-manager", "--save", "--quit"):
        assert option in out.stdout
    out = subprocess.run([BINARY, "--version"], env=env, capture_output=True, text=True, timeout=20)
    assert out.stdout.strip() == "Brightpost 1.3.0"


def test_tray_host_that_comes_later_gets_the_icon(data_dir):
    session = DesktopSession(tray=False).start()
    try:
        app = Brightpost(session, data_dir)
        # Started in full, notes shown, without a tray to dock in.
        assert wait_until(lambda: session.visible_windows("Priority Note") or not app.running(), 15)
        assert app.running()
        session.start_tray()
        assert wait_until(session.tray_icons, 10), "the icon did not dock in the late tray"
        assert app.running()
    finally:
        session.stop()


# ---- The command socket -------------------------------------------------------------------

def command_socket(data_dir):
    """The running copy's socket, as the lock file names it for later starts."""
    with open(os.path.join(data_dir, "Brightpost.lock")) as f:
        return f.read().strip()


def ask(path, line, timeout=10):
    """Sends one request line and returns the answer line (empty when closed unanswered)."""
    with socket.socket(socket.AF_UNIX) as s:
        s.settimeout(timeout)
        s.connect(path)
        s.sendall(line + b"\n")
        answer = b""
        while not answer.endswith(b"\n"):
            chunk = s.recv(256)
            if not chunk:
                break
            answer += chunk
        return answer


def junk_requests(note_ids, count=500):
    """Internal messages built from the program's own numbers and its notes' ids, out-of-range
    values and garbage."""
    with open(os.path.join(ROOT, "platform", "Messages.h")) as f:
        numbers = [int(n) for n in re.findall(r"=\s*(\d+);", f.read())]
    values = numbers + note_ids + [0, -1, 2**31, 2**63 - 1, -(2**63), 99999999999999999999]
    rng = random.Random(28)
    requests = []
    for i in range(count):
        kind = i % 5
        if kind < 3:
            requests.append(b"message %d %d %d" % (rng.choice(numbers), rng.choice(values),
                                                    rng.choice(values)))
        elif kind == 3:
            requests.append(b"action " + bytes(rng.choice(b"abcdefghijklmnopqrstuvwxyz-")
                                               for _ in range(rng.randint(0, 20))))
        else:
            requests.append(bytes(rng.randrange(256) for _ in range(rng.randint(0, 60)))
                            .replace(b"\n", b""))
    return requests


def test_the_command_socket_refuses_everything_but_named_actions(start, data_dir, desktop):
    import database
    app = start(data_dir)
    settle(app, desktop)
    path = command_socket(data_dir)
    before = database.notes(app.database)
    windows = program_windows(desktop)

    answers = [ask(path, request) for request in junk_requests(sorted(before))]
    assert all(answer.startswith(b"refused ") for answer in answers), \
        [a for a in answers if not a.startswith(b"refused ")][:5]
    # Requests are served in order: once this note is up, the junk has had its effect, if any.
    assert ask(path, b"action new-note") == b"ok\n"
    assert wait_until(lambda: len(program_windows(desktop) - windows) >= 1, 10)
    assert len(program_windows(desktop) - windows) == 1, "a box or window came from the junk"
    assert app.terminate(timeout=10) == 0
    after = database.notes(app.database)
    assert len(after) == len(before) + 1
    assert all(after[nid] == note for nid, note in before.items())


def open_fds(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


def resident_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        return next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))


def test_oversized_lines_and_silent_clients_cost_bounded_memory_and_descriptors(start, data_dir,
                                                                               desktop):
    app = start(data_dir)
    settle(app, desktop)
    path = command_socket(data_dir)
    pid = app.process.pid
    fds, rss = open_fds(pid), resident_kb(pid)

    # 64 MB without a line end: the program stops reading after a few kilobytes.
    with socket.socket(socket.AF_UNIX) as flood:
        flood.settimeout(10)
        flood.connect(path)
        try:
            flood.sendall(b"x" * (64 << 20))
        except OSError:
            pass
        assert resident_kb(pid) < rss + 16 * 1024

    # Many clients that connect and say nothing, some of them refused for a full backlog.
    silent = []
    for _ in range(120):
        s = socket.socket(socket.AF_UNIX)
        s.setblocking(False)
        try:
            s.connect(path)
        except (BlockingIOError, ConnectionRefusedError, InterruptedError):
            pass
        silent.append(s)
    # A later start still gets its action through, and the program holds few of them open.
    run = subprocess.run([BINARY, "--data-dir", data_dir, "--new-note"], env=desktop.env,
                         capture_output=True, timeout=30)
    assert run.returncode == 0, run.stderr
    assert open_fds(pid) < fds + 24

    def closed_by_the_program(s):
        try:
            return s.recv(256, socket.MSG_DONTWAIT) is not None
        except BlockingIOError:
            return False
        except OSError:
            return True
    # Those that stay silent are closed after a few seconds.
    assert wait_until(lambda: all(closed_by_the_program(s) for s in silent), 20)
    for s in silent:
        s.close()
    assert wait_until(lambda: open_fds(pid) <= fds + 2, 10)
    assert app.terminate(timeout=10) == 0
