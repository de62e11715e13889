"""The commands for scripts on the command line, against a running copy on a real X desktop and
against a database file that no copy holds."""

import json
import os
import subprocess

from conftest import BINARY
from desktop import wait_until


def cli(desktop, data_dir, *args, stdin=None):
    return subprocess.run([BINARY, "--data-dir", data_dir, *args], input=stdin, env=desktop.env,
                          capture_output=True, text=True, timeout=30)


def listed(result):
    assert result.returncode == 0, result.stderr
    return [line.split("\t") for line in result.stdout.splitlines()]


def test_each_command_with_a_running_copy(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    assert wait_until(lambda: len(desktop.visible_windows("Priority Note$")) == 3, 10)

    made = cli(desktop, data_dir, "new", "--title", "Groceries", "milk and eggs")
    assert made.returncode == 0, made.stderr
    groceries = made.stdout.strip()
    assert groceries and "\n" not in groceries
    assert wait_until(lambda: desktop.visible_windows("^Groceries$"), 10)

    piped = cli(desktop, data_dir, "new", "--title", "From a pipe", "-", stdin="first line\nsecond line\n")
    assert piped.returncode == 0, piped.stderr
    from_pipe = piped.stdout.strip()
    rich = cli(desktop, data_dir, "new", "--title", "Rich", r"{\rtf1\ansi{\b bold} words\par}")
    assert rich.returncode == 0, rich.stderr
    # Without a title the note gets the one a new note from the tray gets.
    untitled = cli(desktop, data_dir, "new", "no title given")
    assert untitled.returncode == 0, untitled.stderr

    rows = listed(cli(desktop, data_dir, "list"))
    by_id = {row[0]: row for row in rows}
    assert by_id[groceries] == [groceries, "Groceries", "visible"]
    assert by_id[from_pipe][1:] == ["From a pipe", "visible"]
    assert by_id[untitled.stdout.strip()][1].strip()
    assert len(rows) == 7

    as_json = cli(desktop, data_dir, "list", "--json")
    assert as_json.returncode == 0, as_json.stderr
    notes = json.loads(as_json.stdout)
    assert {"id": groceries, "title": "Groceries", "state": "visible", "alarm": None} in notes
    assert [n["id"] for n in notes] == [row[0] for row in rows]

    # The text as typed, the piped one without the line end the pipe added, the rich one plain.
    assert cli(desktop, data_dir, "cat", groceries).stdout == "milk and eggs\n"
    assert cli(desktop, data_dir, "cat", "From a pipe").stdout == "first line\nsecond line\n"
    assert cli(desktop, data_dir, "cat", "Rich").stdout == "bold words\n"

    found = listed(cli(desktop, data_dir, "find", "eggs"))
    assert [row[0] for row in found] == [groceries]
    found_json = json.loads(cli(desktop, data_dir, "find", "--json", "line").stdout)
    assert [n["id"] for n in found_json] == [from_pipe]

    # Shown, hidden and toggled as the window manager sees it, by title and by id.
    assert cli(desktop, data_dir, "hide", "Groceries").returncode == 0
    assert wait_until(lambda: not desktop.visible_windows("^Groceries$"), 10)
    assert by_state(desktop, data_dir, groceries) == "hidden"
    assert cli(desktop, data_dir, "toggle", groceries).returncode == 0
    assert wait_until(lambda: desktop.visible_windows("^Groceries$"), 10)
    assert cli(desktop, data_dir, "toggle", "Groceries").returncode == 0
    assert wait_until(lambda: not desktop.visible_windows("^Groceries$"), 10)
    assert cli(desktop, data_dir, "show", groceries).returncode == 0
    assert wait_until(lambda: desktop.visible_windows("^Groceries$"), 10)

    # An unknown note is refused, with a message and nothing on standard output.
    for args in (("show", "No such note"), ("cat", "No such note"), ("toggle", "zz-unknown")):
        refused = cli(desktop, data_dir, *args)
        assert refused.returncode == 1, args
        assert refused.stdout == ""
        assert "No such note" in refused.stderr or "zz-unknown" in refused.stderr
    assert app.running()


def by_state(desktop, data_dir, note_id):
    return {row[0]: row[2] for row in listed(cli(desktop, data_dir, "list"))}[note_id]


def test_bad_usage_is_told_apart(desktop, data_dir):
    for args in (("list", "extra"), ("show",), ("new", "a", "b"), ("find",), ("cat", "--json", "x"),
                 ("frobnicate",), ("--save", "list")):
        result = cli(desktop, data_dir, *args)
        assert result.returncode == 2, args
        assert result.stderr.startswith("brightpost: "), args
    usage = cli(desktop, data_dir, "--help")
    assert usage.returncode == 0
    for verb in ("new", "list", "find", "show", "hide", "toggle", "cat"):
        assert f"\n  {verb} " in usage.stdout


def test_reading_commands_without_a_running_copy_leave_the_file_as_it_is(start, data_dir, desktop):
    app = start(data_dir)
    app.wait_ready()
    made = cli(desktop, data_dir, "new", "--title", "Kept", "kept words")
    assert made.returncode == 0, made.stderr
    kept = made.stdout.strip()
    with_copy = cli(desktop, data_dir, "list", "--json").stdout
    assert app.terminate() == 0
    with open(app.database, "rb") as f:
        before = f.read()
    stamp = os.stat(app.database).st_mtime_ns
    files = sorted(os.listdir(data_dir))

    # No display is needed either.
    env = dict(desktop.env)
    env.pop("DISPLAY")
    def offline(*args):
        return subprocess.run([BINARY, "--data-dir", data_dir, *args], env=env,
                              capture_output=True, text=True, timeout=30)

    # The same ids and states as the running copy gave.
    assert json.loads(offline("list", "--json").stdout) == json.loads(with_copy)
    assert [row[0] for row in listed(offline("find", "words"))] == [kept]
    assert offline("cat", "Kept").stdout == "kept words\n"
    assert offline("cat", kept).stdout == "kept words\n"
    assert offline("cat", "No such note").returncode == 1
    # What would change a note needs the running copy, and starts nothing.
    for args in (("new", "text"), ("show", "Kept"), ("hide", kept), ("toggle", kept)):
        refused = offline(*args)
        assert refused.returncode == 1, args
        assert "not running" in refused.stderr

    with open(app.database, "rb") as f:
        assert f.read() == before
    assert os.stat(app.database).st_mtime_ns == stamp
    assert sorted(os.listdir(data_dir)) == files


def test_a_folder_without_a_database_is_not_given_one(desktop, data_dir):
    result = cli(desktop, data_dir, "list")
    assert result.returncode == 1
    assert "no notes database" in result.stderr
    assert os.listdir(data_dir) == []
