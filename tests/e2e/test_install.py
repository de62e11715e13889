"""The installed program: what `cmake --install` and the Debian package put in place, and the
autostart entry an installed copy keeps."""

import configparser
import glob
import gzip
import os
import re
import shutil
import subprocess
import tempfile

import pytest

import database
from conftest import BINARY, ROOT, Brightpost
from desktop import wait_until

BUILD = os.path.dirname(BINARY)
PAYLOAD = [
    "usr/bin/brightpost",
    "usr/share/applications/brightpost.desktop",
    "usr/share/icons/hicolor/scalable/apps/brightpost.svg",
    "usr/share/metainfo/org.brightpost.Brightpost.metainfo.xml",
    "usr/share/dbus-1/interfaces/org.brightpost.Brightpost.xml",
    "usr/share/dbus-1/services/org.brightpost.Brightpost.service",
]
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
DOCS = [
    "usr/share/man/man1/brightpost.1.gz",
    "usr/share/doc/brightpost/copyright",
    "usr/share/doc/brightpost/changelog.gz",
] + [f"usr/share/icons/hicolor/{n}x{n}/apps/brightpost.png" for n in ICON_SIZES]


@pytest.fixture(scope="module")
def scratch():
    folder = tempfile.mkdtemp(prefix="bp-install-")
    yield folder
    shutil.rmtree(folder, ignore_errors=True)


@pytest.fixture(scope="module")
def unpacked(scratch):
    """The package made by scripts/package.sh, unpacked into a throw-away root."""
    out = subprocess.run([os.path.join(ROOT, "scripts", "package.sh"), os.path.join(scratch, "deb")],
                         env=dict(os.environ, BRIGHTPOST_BUILD_DIR=BUILD),
                         capture_output=True, text=True, timeout=900)
    assert out.returncode == 0, out.stderr[-3000:]
    deb = out.stdout.strip().splitlines()[-1]
    root = os.path.join(scratch, "root")
    subprocess.run(["dpkg-deb", "-x", deb, root], check=True)
    return deb, root


def desktop_entry(path):
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(path)
    return parser["Desktop Entry"]


def check_bus_files(root):
    """The interface description is well formed, and a call to the name starts the binary the
    same install put in place."""
    check = subprocess.run(["xmllint", "--noout", os.path.join(root, PAYLOAD[4])],
                           capture_output=True, text=True)
    assert check.returncode == 0, check.stderr
    parser = configparser.ConfigParser(interpolation=None)
    parser.optionxform = str
    parser.read(os.path.join(root, PAYLOAD[5]))
    assert dict(parser["D-BUS Service"]) == {"Name": "org.brightpost.Brightpost",
                                             "Exec": "/" + PAYLOAD[0]}


def test_cmake_install_puts_the_program_and_its_desktop_files_in_place(scratch):
    staged = os.path.join(scratch, "staged")
    subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"],
                   env=dict(os.environ, DESTDIR=staged), check=True, capture_output=True)
    for path in PAYLOAD + DOCS:
        assert os.path.isfile(os.path.join(staged, path)), path
    assert os.access(os.path.join(staged, PAYLOAD[0]), os.X_OK)

    entry = desktop_entry(os.path.join(staged, PAYLOAD[1]))
    assert entry["Exec"] == "brightpost"
    assert entry["Icon"] == "brightpost"
    assert "Utility" in entry["Categories"].split(";")
    if shutil.which("desktop-file-validate"):
        check = subprocess.run(["desktop-file-validate", os.path.join(staged, PAYLOAD[1])],
                               capture_output=True, text=True)
        assert check.returncode == 0, check.stdout + check.stderr
    check = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic",
                            os.path.join(staged, PAYLOAD[3])], capture_output=True, text=True)
    assert check.returncode == 0, check.stdout + check.stderr
    with open(os.path.join(staged, PAYLOAD[2])) as icon:
        assert "<svg" in icon.read()
    check_bus_files(staged)


def test_the_package_unpacked_into_an_empty_root_runs(unpacked):
    deb, root = unpacked
    for path in PAYLOAD:
        assert os.path.isfile(os.path.join(root, path)), path
    check_bus_files(root)
    depends = subprocess.run(["dpkg-deb", "-f", deb, "Depends"], capture_output=True, text=True,
                             check=True).stdout
    # The libraries found in the binary and the plugins Qt loads by name.
    for package in ("libqt6widgets6", "libqt6svg6", "qt6-qpa-plugins"):
        assert package in depends, depends
    out = subprocess.run([os.path.join(root, PAYLOAD[0]), "--version"], capture_output=True,
                         text=True, timeout=30, env={"PATH": "/usr/bin:/bin"})
    assert out.returncode == 0, out.stderr
    assert out.stdout.startswith("Brightpost ")
    # Everything its libraries need is there: nothing unresolved.
    ldd = subprocess.run(["ldd", os.path.join(root, PAYLOAD[0])], capture_output=True, text=True)
    assert "not found" not in ldd.stdout


def test_every_desktop_entry_and_d_bus_interface_the_package_installs_is_valid(unpacked):
    _, root = unpacked
    entries = [os.path.join(folder, name) for folder, _, names in os.walk(root)
               for name in names if name.endswith(".desktop")]
    assert entries, "the package installs no desktop entry"
    for entry in entries:
        check = subprocess.run(["desktop-file-validate", entry], capture_output=True, text=True)
        assert check.returncode == 0, (entry, check.stdout + check.stderr)

    interfaces = os.path.join(root, "usr/share/dbus-1/interfaces")
    documents = sorted(glob.glob(os.path.join(interfaces, "*.xml")))
    if not documents:
        pytest.skip("the package installs no D-Bus interface description")
    for document in documents:
        check = subprocess.run(["xmllint", "--noout", document], capture_output=True, text=True)
        assert check.returncode == 0, (document, check.stderr)


def png_size(path):
    with open(path, "rb") as png:
        header = png.read(24)
    assert header[:8] == b"\x89PNG\r\n\x1a\n", path
    return int.from_bytes(header[16:20], "big"), int.from_bytes(header[20:24], "big")


def test_the_package_carries_its_manual_page_icons_copyright_and_changelog(unpacked):
    deb, root = unpacked
    version = subprocess.run(["dpkg-deb", "-f", deb, "Version"], capture_output=True, text=True,
                             check=True).stdout.strip()
    for size in ICON_SIZES:
        assert png_size(os.path.join(root, f"usr/share/icons/hicolor/{size}x{size}/apps/"
                                           "brightpost.png")) == (size, size)

    # Compressed without a file name or time, so the same sources make the same package.
    for path in ("usr/share/man/man1/brightpost.1.gz", "usr/share/doc/brightpost/changelog.gz"):
        with open(os.path.join(root, path), "rb") as packed:
            header = packed.read(10)
        assert header[3] & 0x08 == 0 and header[4:8] == bytes(4), path

    page = subprocess.run(["man", "-l", os.path.join(root, DOCS[0])], capture_output=True,
                          text=True, env=dict(os.environ, MANWIDTH="100"), check=True)
    assert re.search(r"brightpost - sticky notes", page.stdout), page.stdout
    # The options come from the program's own help, so none goes missing from the page.
    usage = subprocess.run([os.path.join(root, PAYLOAD[0]), "--help"], capture_output=True,
                           text=True, check=True).stdout
    for option in re.findall(r"^  (--[a-z-]+)", usage, re.M):
        assert option in page.stdout, option
    assert "groff" not in page.stderr and "warning" not in page.stderr, page.stderr

    with open(os.path.join(root, DOCS[1])) as copyright_file:
        copyright_text = copyright_file.read()
    assert copyright_text.startswith(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")
    assert "Copyright: 2026 The Brightpost developers" in copyright_text
    assert "No licence has been granted" in copyright_text

    with gzip.open(os.path.join(root, DOCS[2]), "rt") as changelog:
        first_line = changelog.readline()
    assert first_line.startswith(f"brightpost ({version}) "), first_line


def test_lintian_finds_no_errors_in_the_package(unpacked):
    deb, _ = unpacked
    out = subprocess.run(["lintian", "--allow-root", deb], capture_output=True, text=True,
                         timeout=300)
    errors = [line for line in out.stdout.splitlines() if line.startswith("E:")]
    assert not errors and out.returncode == 0, out.stdout + out.stderr


def autostart_entry(config):
    return os.path.join(config, "autostart", "brightpost.desktop")


def test_an_installed_copy_keeps_its_autostart_entry_in_step_with_the_setting(
        unpacked, desktop, data_dir):
    _, root = unpacked
    installed = os.path.join(root, PAYLOAD[0])
    config = tempfile.mkdtemp(prefix="bp-config-", dir=desktop.logdir)
    env = dict(desktop.env, XDG_CONFIG_HOME=config)

    def run(*args):
        return subprocess.run([installed, "--data-dir", data_dir, *args], env=env,
                              capture_output=True, text=True, timeout=60)

    # A copy run from the build folder never writes an entry, even with autorun on.
    build_copy = Brightpost(desktop, data_dir, (), env)
    build_copy.wait_ready(timeout=60)
    assert build_copy.terminate(timeout=60) == 0
    assert not os.path.exists(autostart_entry(config))

    app = subprocess.Popen([installed, "--data-dir", data_dir], env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    desktop.processes.append(app)
    assert wait_until(lambda: os.path.exists(autostart_entry(config)), 60)
    assert desktop_entry(autostart_entry(config))["Exec"] == installed

    # Told through the running copy: the entry goes and the setting is saved.
    assert run("--autostart", "off").returncode == 0
    assert wait_until(lambda: not os.path.exists(autostart_entry(config)), 30)
    assert run("--save").returncode == 0
    stored = os.path.join(data_dir, "Brightpost.dat")
    assert wait_until(lambda: database.attribute(database.read_text(stored), "autorun") == "0", 30)
    assert run("--autostart", "on").returncode == 0
    assert wait_until(lambda: os.path.exists(autostart_entry(config)), 30)
    app.terminate()
    assert app.wait(timeout=60) == 0
