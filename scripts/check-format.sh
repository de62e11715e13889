#!/usr/bin/env bash
# Checks that every tracked C++ file is formatted with the repository's .clang-format.
#   scripts/check-format.sh          report the files that differ; exit 1 if any does
#   scripts/check-format.sh --fix    format them in place
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

formatter=${CLANG_FORMAT:-clang-format}
if ! command -v "$formatter" >/dev/null; then
    echo "check-format: $formatter is missing (scripts/deps.sh installs it)" >&2
    exit 2
fi

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
((${#files[@]} > 0)) || exit 0

if [[ ${1:-} == --fix ]]; then
    "$formatter" -i --style=file "${files[@]}"
    exit 0
fi

bad=()
for f in "${files[@]}"; do
    if ! "$formatter" --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
        bad+=("$f")
    fi
done
if ((${#bad[@]} > 0)); then
    printf 'not formatted: %s\n' "${bad[@]}" >&2
    echo "Run scripts/check-format.sh --fix (or clang-format -i FILE) and commit the result." >&2
    exit 1
fi
