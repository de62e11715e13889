"""One copy per data folder, databases other programs put in place, and folders others control."""

import glob
import os
import shutil
import stat
import tempfile

import database
from desktop import wait_until


def without_runtime_folder(desktop):
    """The environment of a shell that has no XDG_RUNTIME_DIR (or one of its own)."""
    cache = tempfile.mkdtemp(prefix="bp-cache-", dir=desktop.logdir)
    env = dict(desktop.env, XDG_CACHE_HOME=cache)
    env.pop("XDG_RUNTIME_DIR")
    return env


def test_a_start_without_the_runtime_folder_hands_its_request_to_the_running_copy(start, data_dir, desktop):
    first = start(data_dir)
    first.wait_ready()
    assert len(database.notes(first.database)) == 3

    second = start(data_dir, "--new-note", env=without_runtime_folder(desktop))
    assert second.process.wait(timeout=15) == 0
    # The running copy made the note and saved it: nobody else wrote the folder.
    assert wait_until(lambda: len(database.notes(first.database)) == 4, 15)
    assert first.running()


def answer_box(desktop, title):
    box = wait_until(lambda: desktop.visible_windows(title), 15)
    assert box, f"no {title} box"
    desktop.run("xdotool", "windowactivate", "--sync", box[0])
    desktop.run("xdotool", "key", "Return")
    assert wait_until(lambda: not desktop.visible_windows(title), 10)


def test_a_database_another_program_put_in_place_is_kept_beside_ours(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    ours = database.read_text(app.database)
    theirs = ours.replace("Low Priority Note", "Their note")
    # A sync tool writes its own file and renames it over ours.
    staged = os.path.join(data_dir, "sync-staging")
    database.write_text(staged, theirs)
    os.rename(staged, app.database)

    saver = start(data_dir, "--save")
    assert saver.process.wait(timeout=15) == 0
    kept = wait_until(lambda: glob.glob(os.path.join(data_dir, "external_*.dat")), 15)
    assert kept and len(kept) == 1
    assert database.read_text(kept[0]) == theirs
    assert os.stat(kept[0]).st_mode & 0o777 == 0o600
    assert "Low Priority Note" in database.read_text(app.database)
    answer_box(desktop, "^Warning$")

    # Told once: the next save is of our own file again.
    saver = start(data_dir, "--save")
    assert saver.process.wait(timeout=15) == 0
    assert app.terminate() == 0
    assert glob.glob(os.path.join(data_dir, "external_*.dat")) == kept


def test_a_data_folder_others_can_write_to_is_refused(start, data_dir, desktop):
    os.chmod(data_dir, 0o777)
    app = start(data_dir)
    answer_box(desktop, "^Error$")
    assert app.process.wait(timeout=15) == 1
    assert os.listdir(data_dir) == []
    assert os.stat(data_dir).st_mode & 0o777 == 0o777


def test_a_lock_planted_in_the_shared_temporary_folder_does_not_block_the_start(start, data_dir, desktop):
    env = without_runtime_folder(desktop)
    shared = tempfile.mkdtemp(prefix="bp-shared-tmp-", dir=desktop.logdir)
    os.chmod(shared, 0o1777)
    # What another user could leave in /tmp before the program first starts.
    os.mkdir(os.path.join(shared, f"brightpost-{os.getuid()}.lock"))
    env["TMPDIR"] = shared
    app = start(data_dir, env=env)
    app.wait_ready()
    # Qt may make a runtime folder of its own there; nothing of ours goes in.
    assert [n for n in os.listdir(shared) if n.startswith("brightpost")] == [f"brightpost-{os.getuid()}.lock"]
    private = os.path.join(env["XDG_CACHE_HOME"], "Brightpost")
    assert os.stat(private).st_mode & 0o777 == 0o700
    assert app.terminate() == 0


def test_a_named_pipe_in_place_of_the_database_is_kept_and_the_notes_come_from_a_backup(
        start, data_dir, desktop):
    backup = os.path.join(data_dir, "copy_Brightpost_20240101120000.dat")
    database.write_text(backup, database.read_text(
        os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                     "store", "data", "default-database.dat")).replace("Low Priority Note", "Kept note"))
    os.mkfifo(os.path.join(data_dir, "Brightpost.dat"), 0o600)

    app = start(data_dir)
    answer_box(desktop, "^Error$")  # what is in the database's place
    answer_box(desktop, "^Warning$")  # where the notes came from
    app.wait_ready()
    assert wait_until(lambda: desktop.visible_windows("^Kept note$"), 15)
    kept = glob.glob(os.path.join(data_dir, "corrupted_*.dat"))
    assert len(kept) == 1 and stat.S_ISFIFO(os.lstat(kept[0]).st_mode)
    assert app.terminate() == 0
    assert "Kept note" in database.read_text(app.database)
