"""The notes in the desktop's search: the shell's search provider and the launcher's runner,
called over a private session bus as the shell and the launcher call them."""

import ast
import re

import database
from desktop import wait_until
from test_notes import note_window

SERVICE = "org.brightpost.Brightpost"
PROVIDER = ("/org/brightpost/Brightpost/SearchProvider", "org.gnome.Shell.SearchProvider2")
RUNNER = ("/org/brightpost/Brightpost/KRunner", "org.kde.krunner1")
LOW, REGULAR, HIGH = "Low Priority Note", "Regular Priority Note", "High Priority Note"


def gvariant(text):
    """The Python value of what gdbus prints, for the plain strings, numbers, arrays,
    dictionaries and variants these replies hold."""
    text = re.sub(r"@[a-z{}()]+ ", "", text.strip())
    text = re.sub(r"\b(?:u?int(?:16|32|64)|byte|double) ", "", text)
    text = text.replace("<", "").replace(">", "").replace("true", "True").replace("false", "False")
    return ast.literal_eval(text)


def call(desktop, where, method, *arguments):
    path, interface = where
    out = desktop.run("gdbus", "call", "--session", "--dest", SERVICE, "--object-path", path,
                      "--method", f"{interface}.{method}", *arguments)
    assert out.returncode == 0, out.stderr
    return gvariant(out.stdout)


def on_the_bus(desktop):
    out = desktop.run("gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                      "--object-path", "/org/freedesktop/DBus",
                      "--method", "org.freedesktop.DBus.NameHasOwner", SERVICE)
    return out.returncode == 0 and "true" in out.stdout


def above(desktop, upper, lower):
    order = desktop.stacking()
    return int(upper) in order and int(lower) in order and \
        order.index(int(upper)) > order.index(int(lower))


def test_the_desktops_search_finds_opens_and_raises_notes(start, data_dir, desktop):
    # The sample notes, given texts to find; two hidden, all in one layer so raising shows.
    first = start(data_dir)
    first.wait_ready()
    assert first.terminate() == 0
    for nid, body, hidden in ((1, "call the bank about the loan", 0),
                              (2, "\r\ngroceries: milk and bread", 1),
                              (3, "bank holiday on monday", 1)):
        database.set_note_attributes(first.database, nid, [("priority", 1), ("isClosed", hidden)])
        database.edit_notes(first.database, lambda element, nid=nid, body=body: element.replace(
            "<![CDATABEGIN[\r\n]CDATAEND]!>", f"<![CDATABEGIN[\r\n{body}\r\n]CDATAEND]!>")
            if database.attribute(element, "nid") == str(nid) else element)

    desktop.start_session_bus()
    app = start(data_dir)
    app.wait_ready()
    assert wait_until(lambda: on_the_bus(desktop), 15)
    low = note_window(desktop, LOW)

    # As the shell asks: every term must show, the narrower search keeps what still matches.
    (bank,) = call(desktop, PROVIDER, "GetInitialResultSet", "['bank']")
    assert len(bank) == 2
    (low_id,) = call(desktop, PROVIDER, "GetInitialResultSet", "['LOW', 'priority']")[0]
    (high_id,) = call(desktop, PROVIDER, "GetInitialResultSet", "['bank', 'holiday']")[0]
    assert bank == [low_id, high_id]
    assert call(desktop, PROVIDER, "GetSubsearchResultSet", str(bank), "['bank', 'loan']") == \
        ([low_id],)
    assert call(desktop, PROVIDER, "GetInitialResultSet", "['bank', 'zebra']") == ([],)
    (metas,) = call(desktop, PROVIDER, "GetResultMetas", str([high_id, "no-such-note"]))
    assert metas == [{"id": high_id, "name": HIGH, "description": "bank holiday on monday",
                      "gicon": "brightpost"}]

    # Choosing the hidden note shows it in front of the note that was there.
    assert not desktop.visible_windows(HIGH)
    call(desktop, PROVIDER, "ActivateResult", high_id, "['bank', 'holiday']", "0")
    high = note_window(desktop, HIGH)
    assert wait_until(lambda: above(desktop, high, low), 10)

    # As the launcher asks: one row per note with its first line, and running it raises it.
    (matches,) = call(desktop, RUNNER, "Match", "'loan  bank'")
    assert [(m[0], m[1], m[2], m[5]) for m in matches] == \
        [(low_id, LOW, "brightpost", {"subtext": "call the bank about the loan"})]
    assert call(desktop, RUNNER, "Actions")[0][0][0] == "alarm"
    call(desktop, RUNNER, "Run", low_id, "''")
    assert wait_until(lambda: above(desktop, low, high), 10)

    # The shell's "search in the program" opens Find with the terms searched.
    assert not desktop.visible_windows(REGULAR)
    call(desktop, PROVIDER, "LaunchSearch", "['milk']", "0")
    find = wait_until(lambda: desktop.visible_windows("^Find$"), 10)
    assert find and desktop.wait_active(find[0])
    # What it found is the hidden note with the word: selected and shown from the list.
    drawn = desktop.pixels(find[0])
    desktop.run("xdotool", "key", "--delay", "120", "shift+Tab", "ctrl+a")
    assert desktop.wait_redrawn(find[0], drawn)
    desktop.run("xdotool", "key", "--delay", "120", "Tab", "space")
    note_window(desktop, REGULAR)
    assert app.terminate() == 0
