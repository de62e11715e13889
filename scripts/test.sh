#!/usr/bin/env bash
# Builds everything and runs the whole suite: unit, widget (offscreen) and desktop
# end-to-end tests, then a short run of every fuzz target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}

# "-R AREA" with an area's bare name runs that area only: the name is anchored to the area's
# prefix, since a plain "store" would also match a test named "...Restored...".
args=()
previous=
for arg in "$@"; do
    if [[ $previous == -R && $arg =~ ^(store|rtf|note|app|e2e)$ ]]; then
        arg="^$arg\\."
    fi
    args+=("$arg")
    previous=$arg
done

"$root/scripts/build.sh"
(cd "$build" && ctest --output-on-failure -j "$(nproc)" "${args[@]}")

# A short run of every fuzz target on top of the suite (longer runs: scripts/fuzz.sh SECONDS).
if [[ $# -eq 0 && ${BRIGHTPOST_SKIP_FUZZ:-0} != 1 ]]; then
    "$root/scripts/fuzz.sh" "${BRIGHTPOST_FUZZ_SECONDS:-20}"
fi
