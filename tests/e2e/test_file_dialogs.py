"""The Export and Import dialogs start in the user's home, then in the folder last used, and
Import finds a file by the name Export was given."""

from desktop import wait_until
from test_tray import choose_file, note_count, open_menu_with_keys, settle

EXPORT = ["Down"] * 6 + ["Return"]
IMPORT = ["Down"] * 5 + ["Return"]


def test_dialogs_start_at_home_and_import_completes_the_name(start, data_dir, desktop, tmp_path):
    home = tmp_path / "home"
    home.mkdir()
    desktop.env["HOME"] = str(home)
    app = start(data_dir)
    settle(app, desktop)

    # A bare name lands in the home, not in the program's folder.
    open_menu_with_keys(desktop, app, EXPORT)
    choose_file(desktop, "Export Notes", "first")
    assert wait_until(lambda: (home / "first.dat").exists(), 10)

    elsewhere = tmp_path / "elsewhere"
    elsewhere.mkdir()
    open_menu_with_keys(desktop, app, EXPORT)
    choose_file(desktop, "Export Notes", str(elsewhere / "export1"))
    assert wait_until(lambda: (elsewhere / "export1.dat").exists(), 10)

    # The import dialog starts where the last export went and completes "export1" as
    # Export did.
    before = note_count(app.database)
    open_menu_with_keys(desktop, app, IMPORT)
    choose_file(desktop, "Import Notes", "export1")
    assert wait_until(lambda: note_count(app.database) == before + 3, 10)
    assert not desktop.visible_windows("^Import Notes$")
    assert app.terminate() == 0
