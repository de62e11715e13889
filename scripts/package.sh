#!/usr/bin/env bash
# Builds Brightpost and makes its Debian package with CPack; prints the package's path.
#   scripts/package.sh [OUTPUT_FOLDER]   (default: build/packages)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}
output=${1:-$build/packages}

"$root/scripts/build.sh" --target brightpost brightpost_package_files >&2
mkdir -p "$output"
output=$(cd "$output" && pwd)
# CPack installs into its own staging folder; a stale one could carry files no longer installed.
rm -rf "$build/_CPack_Packages"
(cd "$build" && cpack -G DEB -B "$output" >&2)
rm -rf "$output/_CPack_Packages"
ls -t "$output"/brightpost_*.deb | head -n 1
