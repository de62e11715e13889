#!/usr/bin/env bash
# Builds everything and runs the whole suite: unit, widget (offscreen) and desktop
# end-to-end tests, plus short fuzzing runs when the fuzz targets are built.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}

"$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
