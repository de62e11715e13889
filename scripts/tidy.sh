#!/usr/bin/env bash
# Runs clang-tidy (the checks in .clang-tidy) over the program's own sources, with the compile
# commands of the build folder (scripts/build.sh makes it). Any finding fails.
#   scripts/tidy.sh [FILE...]      default every product source file
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRIGHTPOST_BUILD_DIR:-$root/build}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)

files=("$@")
if ((${#files[@]} == 0)); then
    mapfile -t files < <(cd "$root" && git ls-files -- \
        'alarm/*.cpp' 'alarmui/*.cpp' 'app/*.cpp' 'attach/*.cpp' 'manage/*.cpp' 'note/*.cpp' \
        'output/*.cpp' 'platform/*.cpp' 'qtsupport/*.cpp' 'richtext/*.cpp' 'settings/*.cpp' \
        'store/*.cpp' 'sync/*.cpp' 'tools/*.cpp' 'ui/*.cpp' 'scripting/*.cpp' 'dbus/*.cpp' \
        'desktopsearch/*.cpp' |
        sed "s|^|$root/|")
fi
# Only files the build compiles (a platform back end not configured here has no command).
mapfile -t files < <(python3 - "$build/compile_commands.json" "${files[@]}" <<'PY'
import json, os, sys
known = {os.path.realpath(e["file"]) for e in json.load(open(sys.argv[1]))}
for f in sys.argv[2:]:
    if os.path.realpath(f) in known:
        print(os.path.realpath(f))
PY
)
if ((${#files[@]} == 0)); then
    echo "clang-tidy: no file of the build named" >&2
    exit 2
fi
echo "clang-tidy: ${#files[@]} files"
# GCC's options that clang does not know are dropped; the moc and resource files that the
# sources include are made by the build. xargs ends with 123 when any file had a finding.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
printf '%s\0' "${files[@]}" |
    xargs -0 -n 4 -P "$(nproc)" "$tidy" -p "$build" --quiet \
        --extra-arg=-Wno-unknown-warning-option >"$log" 2>&1 || status=$?
grep -Ev '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' \
    "$log" || true
exit "$status"
