#!/usr/bin/env bash
# Builds Brightpost and starts it with the user's data folder. Extra arguments go to the
# program (for example --data-dir DIR).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" --target brightpost
exec "${BRIGHTPOST_BUILD_DIR:-$root/build}/brightpost" "$@"
