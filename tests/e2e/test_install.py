"""The installed program: what `cmake --install` and the Debian package put in place, and the
autostart entry an installed copy keeps."""

import configparser
import os
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
]


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


def test_cmake_install_puts_the_program_and_its_desktop_files_in_place(scratch):
    staged = os.path.join(scratch, "staged")
    subprocess.run(["cmake", "--install", BUILD, "--prefix", "/usr"],
                   env=dict(os.environ, DESTDIR=staged), check=True, capture_output=True)
    for path in PAYLOAD:
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


def test_the_package_unpacked_into_an_empty_root_runs(unpacked):
    deb, root = unpacked
    for path in PAYLOAD:
        assert os.path.isfile(os.path.join(root, path)), path
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
