#!/usr/bin/env bash
# Configures (once) and builds Brightpost incrementally into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}

"$root/scripts/deps.sh"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# Warnings are errors here; a build folder configured before that is configured again once.
if [[ ! -f $build/build.ninja ]] || ! grep -qx 'BRIGHTPOST_WERROR:BOOL=ON' "$build/CMakeCache.txt"; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIGHTPOST_WERROR=ON \
        "${launcher[@]}"
fi
cmake --build "$build" -j "$(nproc)" "$@"
