"""Start-up, the single running copy and the orderly exit on a real X desktop."""

import glob
import shutil
import signal
import subprocess
import os

from desktop import wait_until
from conftest import BINARY, ROOT


def default_database_bytes():
    with open(os.path.join(ROOT, "tests", "store", "data", "default-database.dat"), "rb") as f:
        return f.read()


def test_empty_data_folder_gets_the_default_database(start, data_dir):
    app = start(data_dir)
    app.wait_ready()
    with open(app.database, "rb") as f:
        assert f.read() == default_database_bytes()
    assert os.stat(app.database).st_mode & 0o777 == 0o600
    assert os.stat(data_dir).st_mode & 0o777 in (0o700, 0o755)


def test_missing_data_folder_is_created_private(start, data_dir):
    folder = os.path.join(data_dir, "nested", "Brightpost")
    app = start(folder)
    app.wait_ready()
    assert os.stat(folder).st_mode & 0o777 == 0o700
    assert os.path.exists(app.database)


def test_second_start_leaves_one_copy_running(start, data_dir, desktop):
    first = start(data_dir)
    first.wait_ready()

    def program_windows():
        return set(desktop.run("xdotool", "search", "--onlyvisible", "--class", "brightpost").stdout.split())

    # The notes map after the tray icon docks; counted before they are all up, they would
    # count as the answer.
    assert wait_until(lambda: len(desktop.visible_windows("Priority Note$")) == 3, 10)
    before = program_windows()
    second = start(data_dir)
    assert second.process.wait(timeout=10) == 0
    assert first.running()
    # The running copy answered by popping up its tray menu: one more window of its own.
    assert wait_until(lambda: len(program_windows() - before) == 1, 10)


def test_sigterm_backs_up_and_saves(start, data_dir):
    app = start(data_dir)
    app.wait_ready()
    with open(app.database, "rb") as f:
        before = f.read()
    assert app.terminate() == 0
    backups = glob.glob(os.path.join(data_dir, "copy_Brightpost_*.dat"))
    assert len(backups) == 1
    assert len(os.path.basename(backups[0])) == len("copy_Brightpost_20240101000000.dat")
    with open(backups[0], "rb") as f:
        assert f.read() == before
    with open(app.database, "rb") as f:
        assert f.read() == before
    assert not os.path.exists(os.path.join(data_dir, "~tmp.dat"))


def test_crashed_copy_does_not_block_the_next_start(start, data_dir, desktop):
    first = start(data_dir)
    first.wait_ready()
    first.process.kill()
    first.process.wait()
    # The next copy's readiness is its icon in the tray: the killed copy's must be gone first.
    assert wait_until(lambda: not desktop.tray_icons(), 10)
    second = start(data_dir)
    second.wait_ready()
    assert second.running()


def test_run_script_builds_and_starts_the_program(desktop, data_dir):
    from conftest import BINARY
    env = dict(desktop.env, BRIGHTPOST_BUILD_DIR=os.path.dirname(BINARY))
    log = open(os.path.join(desktop.logdir, "run-script.log"), "wb")
    process = subprocess.Popen([os.path.join(ROOT, "scripts", "run.sh"), "--data-dir", data_dir],
                               stdout=log, stderr=subprocess.STDOUT, env=env)
    desktop.processes.append(process)
    assert wait_until(lambda: desktop.tray_icons() or process.poll() is not None, 120)
    assert process.poll() is None, open(log.name).read()
    assert os.path.exists(os.path.join(data_dir, "Brightpost.dat"))
    process.send_signal(signal.SIGTERM)
    assert process.wait(timeout=15) == 0


def signal_handled(process, signum):
    """Whether the process has installed its own handler for signum."""
    try:
        with open(f"/proc/{process.pid}/status") as f:
            for line in f:
                if line.startswith("SigCgt:"):
                    return bool(int(line.split()[1], 16) & (1 << (signum - 1)))
    except FileNotFoundError:
        pass
    return False


def leftovers(data_dir):
    return [name for name in os.listdir(data_dir)
            if name.startswith(("copy_", "corrupted_", "~tmp"))]


def test_sigterm_while_the_damage_is_reported_ends_and_keeps_the_damaged_file(start, data_dir, desktop):
    damaged = b"\x14\x00\x00\x00not a database at all"
    with open(os.path.join(data_dir, "Brightpost.dat"), "wb") as f:
        f.write(damaged)
    app = start(data_dir)
    assert wait_until(lambda: desktop.visible_windows("^Error$"), 30), "no error box"
    assert app.terminate(timeout=15) == 0
    with open(app.database, "rb") as f:
        assert f.read() == damaged
    assert leftovers(data_dir) == []


def test_sigterm_while_huge_bodies_load_ends_and_keeps_them(start, data_dir):
    from database import with_notes, write_text, notes
    body = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\pard\\f0\\fs20 " + "x" * 2000000 + "\\par\r\n}"
    template = os.path.join(ROOT, "tests", "store", "data", "default-database.dat")
    database = os.path.join(data_dir, "Brightpost.dat")
    write_text(database, with_notes(template, 4, body=body))
    app = start(data_dir)
    assert wait_until(lambda: signal_handled(app.process, signal.SIGTERM) or not app.running(), 30)
    assert app.terminate(timeout=30) == 0
    kept = notes(database)
    assert sorted(kept) == [1, 2, 3, 4]
    # The store keeps the line end after a body as written.
    assert all(note["body"].rstrip("\r\n") == body for note in kept.values())


def note_count(path):
    try:
        with open(path, "rb") as f:
            return f.read().count(b"<note nid=")
    except FileNotFoundError:
        return 0


def test_two_copies_started_at_once_leave_one_that_carries_out_both(start, desktop, tmp_path):
    # The later start may find the lock taken before the socket's name is in it, or the first
    # copy not yet listening: a few rounds give that moment a chance.
    for round in range(6):
        data_dir = str(tmp_path / f"round{round}")
        a = start(data_dir, "--new-note")
        b = start(data_dir, "--new-note")
        assert wait_until(lambda: not a.running() or not b.running(), 30)
        handed_over, running = (a, b) if not a.running() else (b, a)
        assert handed_over.process.wait() == 0, f"round {round}"
        assert running.running()
        # The three sample notes and one new note for each start.
        assert wait_until(lambda: note_count(running.database) == 5, 20), f"round {round}"
        assert not desktop.visible_windows("^Warning$"), f"round {round}"
        assert running.terminate() == 0
        assert note_count(running.database) == 5


def test_first_start_welcomes_and_its_check_box_turns_start_at_log_in_off(desktop, data_dir, tmp_path):
    # Laid out as installed, the copy keeps an autostart entry, in the test's own config home.
    prefix = tmp_path / "usr"
    (prefix / "bin").mkdir(parents=True)
    program = prefix / "bin" / "brightpost"
    shutil.copy2(BINARY, program)
    applications = prefix / "share" / "applications"
    applications.mkdir(parents=True)
    (applications / "brightpost.desktop").write_text("[Desktop Entry]\nType=Application\n"
                                                      "Name=Brightpost\nExec=brightpost\n")
    config = tmp_path / "config"
    entry = config / "autostart" / "brightpost.desktop"
    env = dict(desktop.env, XDG_CONFIG_HOME=str(config))
    env.pop("BRIGHTPOST_NO_WELCOME", None)
    app = subprocess.Popen([str(program), "--data-dir", data_dir], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    desktop.processes.append(app)

    welcome = wait_until(lambda: desktop.visible_windows("^Welcome to Brightpost$"), 30)
    assert welcome, "no welcome on the first start"
    assert wait_until(entry.exists, 30), "starting at log-in is on by default"
    notes = [w for title in ("High Priority Note", "Regular Priority Note", "Low Priority Note")
             for w in desktop.visible_windows(title)]
    assert len(notes) == 3
    assert wait_until(lambda: all(desktop.stacking().index(int(welcome[0])) >
                                  desktop.stacking().index(int(n)) for n in notes), 10), \
        "the welcome stands above every note"

    desktop.run("xdotool", "windowactivate", welcome[0])
    assert desktop.wait_active(welcome[0])
    desktop.run("xdotool", "key", "alt+s")
    assert wait_until(lambda: not entry.exists(), 15), "the check box left the autostart entry"
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows("^Welcome to Brightpost$"), 10)

    app.send_signal(signal.SIGTERM)
    assert app.wait(timeout=30) == 0
    with open(os.path.join(data_dir, "Brightpost.dat"), "rb") as f:
        stored = f.read()
    assert stored.count(b"\r\n<note ") == 3, "the welcome is no note"
    assert b" autorun=|<|<|<|<|<0>|>|>|>|>|" in stored
