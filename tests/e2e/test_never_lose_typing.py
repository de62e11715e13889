"""What was typed, renamed or moved survives a kill, a lost X server and a full disk."""

import glob
import os
import re
import signal
import subprocess
import time

import pytest

import database
from conftest import BINARY
from desktop import DesktopSession, stop_process, wait_until

BPDB = os.path.join(os.path.dirname(BINARY), "tools", "bpdb")
# The program saves 1.5 s after the last edit; the test gives it one second more.
KILL_AFTER = 2.5
RUNS = 3


def note_window(desktop, title, timeout=10):
    ids = wait_until(lambda: desktop.visible_windows(title), timeout)
    assert ids, f"no window titled {title!r}"
    return ids[0]


def kill_after_quiet(app, last_edit):
    # The time between the last edit and the kill is what the test is about.
    time.sleep(max(0.0, last_edit + KILL_AFTER - time.monotonic()))
    app.process.kill()
    app.process.wait()


def type_into_body(desktop, marker, before):
    window = note_window(desktop, before[2]["title"])
    g = desktop.window_geometry(window)
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 80), "click", "1")
    assert desktop.wait_active(window)
    desktop.run("xdotool", "type", "--delay", "20", marker)
    return lambda notes: marker in notes[2]["body"]


def rename_in_place(desktop, marker, before):
    window = note_window(desktop, before[1]["title"])
    g = desktop.window_geometry(window)
    desktop.run("xdotool", "mousemove", str(g["x"] + 120), str(g["y"] + 8), "sleep", "0.2",
                "click", "--repeat", "2", "--delay", "80", "1")
    # The keys follow the double click in order once the note has the keyboard.
    assert desktop.wait_active(window)
    desktop.run("xdotool", "type", "--delay", "20", marker)
    desktop.run("xdotool", "key", "Return")
    assert note_window(desktop, marker)
    return lambda notes: notes[1]["title"] == marker


def drag_by_title(desktop, marker, before):
    window = note_window(desktop, before[3]["title"])
    g = desktop.window_geometry(window)
    x, y = g["x"] + 120, g["y"] + 8
    dx, dy = -100 + 100 * int(marker[-1]), 150 - 100 * int(marker[-1])
    desktop.run("xdotool", "mousemove", str(x), str(y), "mousedown", "1", "sleep", "0.1",
                "mousemove", str(x + 20), str(y), "sleep", "0.1",
                "mousemove", str(x + 20 + dx // 2), str(y + dy // 2), "sleep", "0.05",
                "mousemove", str(x + 20 + dx), str(y + dy), "sleep", "0.1", "mouseup", "1")
    target = (g["x"] + dx, g["y"] + dy)
    assert wait_until(lambda: (desktop.window_geometry(window)["x"],
                               desktop.window_geometry(window)["y"]) == target, 5)
    return lambda notes: (int(notes[3]["xPos"]), int(notes[3]["yPos"])) == target


@pytest.mark.parametrize("edit", [type_into_body, rename_in_place, drag_by_title],
                         ids=["body", "title", "drag"])
def test_an_edit_survives_a_kill_two_and_a_half_seconds_later(start, data_dir, desktop, edit):
    for run in range(RUNS):
        app = start(data_dir)
        app.wait_ready()
        before = database.notes(app.database)
        survived = edit(desktop, f"kept{run}", before)
        kill_after_quiet(app, time.monotonic())
        assert survived(database.notes(app.database)), f"run {run}"
        assert not os.path.exists(os.path.join(data_dir, "~tmp.dat"))
    # The next start opens what the kills left.
    again = start(data_dir)
    again.wait_ready()
    assert again.terminate() == 0


def test_a_lost_x_server_leaves_the_last_typing_saved(data_dir):
    session = DesktopSession().start()
    try:
        log = open(os.path.join(session.logdir, "brightpost.log"), "wb")
        app = subprocess.Popen([BINARY, "--data-dir", data_dir], stdout=log,
                               stderr=subprocess.STDOUT, env=session.env)
        session.processes.append(app)
        assert wait_until(session.tray_icons, 15)
        window = note_window(session, "Regular Priority Note")
        g = session.window_geometry(window)
        session.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 80), "click", "1")
        assert session.wait_active(window)
        # Killed at once: only the rescue on the way out can save this.
        session.run("xdotool", "type", "--delay", "20", "lastwords")
        xvfb = session.processes[0]
        xvfb.kill()
        xvfb.wait()
        app.wait(timeout=30)
    finally:
        session.stop()
    check = subprocess.run([BPDB, "check", os.path.join(data_dir, "Brightpost.dat")],
                           capture_output=True, text=True)
    assert check.returncode == 0, check.stdout + check.stderr
    assert "lastwords" in database.notes(os.path.join(data_dir, "Brightpost.dat"))[2]["body"]


def test_a_second_sigterm_does_not_cut_the_exit_short(start, data_dir, desktop):
    # Five megabytes in the Recycle Bin make the exit's backup and save take a while, while
    # only one note window opens.
    first = start(data_dir)
    first.wait_ready()
    assert first.terminate() == 0
    template = os.path.join(data_dir, "template.dat")
    os.replace(first.database, template)
    for name in os.listdir(data_dir):
        if name.startswith("copy_"):
            os.remove(os.path.join(data_dir, name))
    database.write_text(first.database, database.with_notes(template, 100, body="x" * 50000))
    os.remove(template)

    def keep_one_small_note(element):
        if database.attribute(element, "nid") != "1":
            return database.set_attribute(element, "isDeleted", 1)
        return re.sub(r"CDATABEGIN\[\r\n.*?\]CDATAEND", "CDATABEGIN[\r\n]CDATAEND", element,
                      flags=re.S)
    database.edit_notes(first.database, keep_one_small_note)

    app = start(data_dir)
    app.wait_ready()
    window = note_window(desktop, "Note 1", timeout=30)
    g = desktop.window_geometry(window)
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 80), "click", "1")
    assert desktop.wait_active(window)
    drawn = desktop.pixels(window)
    desktop.run("xdotool", "type", "--delay", "20", "finalword")
    # The keys have arrived once the note shows them, well before the save that follows typing.
    assert desktop.wait_redrawn(window, drawn)
    app.process.send_signal(signal.SIGTERM)
    # The second arrives while the exit backs up and saves.
    wait_until(lambda: glob.glob(os.path.join(data_dir, "copy_*.dat")) or not app.running(),
               timeout=30, interval=0.002)
    if app.running():
        app.process.send_signal(signal.SIGTERM)
    assert app.process.wait(timeout=60) == 0
    notes = database.notes(app.database)
    assert len(notes) == 100
    assert "finalword" in notes[1]["body"]


def type_into_first_note(desktop, text):
    window = note_window(desktop, "Regular Priority Note")
    g = desktop.window_geometry(window)
    desktop.run("xdotool", "mousemove", str(g["x"] + 100), str(g["y"] + 80), "click", "1")
    assert desktop.wait_active(window)
    desktop.run("xdotool", "type", "--delay", "20", text)


@pytest.mark.slow
def test_idle_program_writes_nothing(start, data_dir, desktop, tmp_path):
    app = start(data_dir)
    app.wait_ready()
    type_into_first_note(desktop, "settled")
    assert wait_until(lambda: "settled" in database.notes(app.database)[2]["body"], 15)
    # The trace starts a little after that save, so that it measures the idle program, not
    # the save's own closing of files.
    time.sleep(2)
    trace = tmp_path / "idle.strace"
    strace = subprocess.Popen(
        ["strace", "-f", "-qq", "-p", str(app.process.pid), "-o", str(trace), "-e",
         "trace=open,openat,creat,rename,renameat,renameat2,fsync,fdatasync,unlink,unlinkat,"
         "truncate,ftruncate"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # What is measured: a minute of the idle program.
        time.sleep(60)
    finally:
        stop_process(strace, 10)
    writes = [line for line in trace.read_text().splitlines()
              if "O_WRONLY" in line or "O_RDWR" in line or "O_CREAT" in line
              or any(f"{call}(" in line for call in
                     ("rename", "fsync", "fdatasync", "unlink", "truncate", "creat"))]
    assert writes == []
    assert app.running()


def error_boxes(desktop):
    out = desktop.run("xdotool", "search", "--onlyvisible", "--name", "^Error$").stdout
    return out.split()


@pytest.fixture
def small_data_dir(data_dir):
    """A data folder on a tmpfs of its own, small enough to fill."""
    if os.geteuid() != 0:
        pytest.skip("mounting a tmpfs needs root")
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k,mode=0700", "tmpfs", data_dir])
    if mounted.returncode != 0:
        pytest.skip("no tmpfs can be mounted here")
    yield data_dir
    subprocess.run(["umount", "-l", data_dir])


def fill(folder):
    path = os.path.join(folder, "filler")
    fd = os.open(path, os.O_WRONLY | os.O_CREAT, 0o600)
    try:
        while os.write(fd, b"\0" * 4096) > 0:
            pass
    except OSError:
        pass
    finally:
        os.close(fd)
    return path


def read_only(folder):
    subprocess.run(["mount", "-o", "remount,ro", folder], check=True)
    return lambda: subprocess.run(["mount", "-o", "remount,rw", folder], check=True)


def full(folder):
    filler = fill(folder)
    return lambda: os.remove(filler)


@pytest.mark.parametrize("break_folder", [full, read_only], ids=["full", "read-only"])
def test_a_failing_save_is_told_once_damages_nothing_and_saving_resumes(
        start, small_data_dir, desktop, break_folder):
    app = start(small_data_dir)
    app.wait_ready()
    assert wait_until(lambda: desktop.visible_windows("Regular Priority Note"), 10)
    with open(app.database, "rb") as f:
        before = f.read()
    mend = break_folder(small_data_dir)

    type_into_first_note(desktop, "firsttry")
    assert wait_until(lambda: error_boxes(desktop), 15), "the failure was not told"
    desktop.run("wmctrl", "-c", "Error")
    assert wait_until(lambda: not error_boxes(desktop), 10)
    type_into_first_note(desktop, "secondtry")
    # No second box may come: the test watches longer than the save after typing (1.5 s)
    # and a retry takes.
    time.sleep(4)
    assert error_boxes(desktop) == [], "told more than once"
    with open(app.database, "rb") as f:
        assert f.read() == before
    assert not os.path.exists(os.path.join(small_data_dir, "~tmp.dat"))

    mend()
    assert wait_until(lambda: "secondtry" in database.notes(app.database)[2]["body"], 30)
    assert "firsttry" in database.notes(app.database)[2]["body"]
    assert error_boxes(desktop) == []
    assert app.terminate() == 0
