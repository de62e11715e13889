#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Brightpost need,
# and only those that are missing.
set -euo pipefail

packages=(
    # build
    cmake ninja-build g++ pkg-config ccache clang-format
    clang-tidy  # scripts/tidy.sh
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev libqt6svg6
    libxcb1-dev libxcb-keysyms1-dev libx11-dev libxkbcommon-dev libgl-dev
    # reading notes aloud: flite played through Qt Multimedia, or speech-dispatcher through
    # Qt Speech (whose CMake files need the QML integration)
    flite1-dev qt6-multimedia-dev qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin
    libgif-dev  # GIF pictures of a note, with its exact colours
    libcmark-dev  # Markdown read into notes (CommonMark reference parser)
    # fonts named in stored notes, by their metric-compatible substitutes
    fonts-liberation2 fonts-dejavu-core
    # tests
    libgtest-dev libgmock-dev libbenchmark-dev
    python3 python3-pytest
    tzdata  # the alarm tests change time zones
    desktop-file-utils appstream  # the installed desktop entry and metainfo are checked
    # the package: its manual page made from --help, its PNG icons made from the SVG, and
    # the Debian policy check run on it
    help2man librsvg2-bin lintian
    # a Wayland desktop: the headless compositor with XWayland, and the Qt Wayland plugin that
    # the program must not pick by itself
    mutter xwayland qt6-wayland
    xvfb xauth openbox trayer xdotool wmctrl x11-utils x11-xserver-utils imagemagick dbus-daemon
    xclip  # a Markdown list put on the clipboard as plain text only
    strace
    # the alarm's tones recorded from a private sound server's null sink; a mock power
    # service on a private system bus
    pulseaudio pulseaudio-utils python3-dbus python3-gi
    speech-dispatcher speech-dispatcher-espeak-ng  # a desktop that runs its own speech
    poppler-utils  # pdftotext reads what a print to PDF put on the pages
    linux-perf  # profiles of the start-up (tests/bench/startup_bench.py --perf)
    at-spi2-core python3-pyatspi  # notes read through the accessibility bus, as screen readers do
)
if [[ ${BRIGHTPOST_FUZZ_DEPS:-1} == 1 ]]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
((${#missing[@]} == 0)) && exit 0

echo "Installing: ${missing[*]}" >&2
sudo_cmd=()
if [[ $(id -u) != 0 ]]; then
    sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
