#!/usr/bin/env bash
# Builds everything (warnings are errors) and runs the whole suite: unit, widget (offscreen) and
# desktop end-to-end tests, checks the formatting, runs clang-tidy and the sanitizer lane, then
# runs every fuzz target for a short while.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}

# "-R AREA" with an area's bare name runs that area only: the name is anchored to the area's
# prefix, since a plain "store" would also match a test named "...Restored...".
args=()
previous=
for arg in "$@"; do
    if [[ $previous == -R && $arg =~ ^(store|alarm|rtf|note|app|settings|manage|attach|e2e)$ ]]; then
        arg="^$arg\\."
    fi
    args+=("$arg")
    previous=$arg
done

# Each phase says how long it took, so the CI figures with and without the slower lanes can be
# read off one run.
phase_start=$SECONDS
phase_done() {
    echo "== $1 took $((SECONDS - phase_start)) s (whole run so far $SECONDS s)"
    phase_start=$SECONDS
}

"$root/scripts/build.sh"
phase_done "build"
(cd "$build" && ctest --output-on-failure -j "$(nproc)" "${args[@]}")
phase_done "tests"

# Every tracked C++ file follows .clang-format (scripts/check-format.sh --fix formats them).
"$root/scripts/check-format.sh"
phase_done "format check"

# The whole suite only, like the fuzz runs: clang-tidy over the program's sources, then the unit
# and widget tests again under the sanitizers (scripts/sanitize.sh).
if [[ $# -eq 0 && ${BRIGHTPOST_SKIP_TIDY:-0} != 1 ]]; then
    "$root/scripts/tidy.sh"
    phase_done "clang-tidy"
fi
if [[ $# -eq 0 && ${BRIGHTPOST_SKIP_SANITIZE:-0} != 1 ]]; then
    "$root/scripts/sanitize.sh"
    phase_done "sanitizer lane"
fi

# A short run of every fuzz target on top of the suite (longer runs: scripts/fuzz.sh SECONDS).
if [[ $# -eq 0 && ${BRIGHTPOST_SKIP_FUZZ:-0} != 1 ]]; then
    "$root/scripts/fuzz.sh" "${BRIGHTPOST_FUZZ_SECONDS:-20}"
    phase_done "fuzzing"
fi
