#!/usr/bin/env bash
# Times the real program starting with 10, 100 and 1,000 notes on a private X desktop:
# until every note window is mapped, peak memory, and CPU while idle.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target brightpost
exec /usr/bin/python3 "$root/tests/bench/startup_bench.py" --binary "${BRIGHTPOST_BUILD_DIR:-$root/build}/brightpost" "$@"
