#!/usr/bin/env bash
# Configures (once) and builds Brightpost incrementally into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
if [[ ! -f $build/build.ninja ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j "$(nproc)" "$@"
