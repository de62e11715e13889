#!/usr/bin/env bash
# Times the real program starting with 10, 100 and 1,000 notes on a private X desktop:
# until every note window is mapped, own CPU, peak memory and CPU while idle; beside it the same
# windows made by bare Xlib (tests/bench/BareNotes.cpp), and the ratio.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target brightpost --target bare_notes
build=${BRIGHTPOST_BUILD_DIR:-$root/build}
exec /usr/bin/python3 "$root/tests/bench/startup_bench.py" --binary "$build/brightpost" \
    --bare "$build/tests/bare_notes" "$@"
