#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into build-fuzz/ and runs each for a
# while on its seed corpus (copied, so the repository's seeds stay as they are).
#   scripts/fuzz.sh [SECONDS_EACH]      default 30
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${BRIGHTPOST_FUZZ_BUILD_DIR:-$root/build-fuzz}

"$root/scripts/deps.sh"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [[ ! -f $build/build.ninja ]]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
        -DCMAKE_CXX_COMPILER=clang++-14 -DBRIGHTPOST_FUZZ=ON -DBRIGHTPOST_BENCH=OFF
fi
targets=(rtf_reader_fuzz fuzz_OpenDatabase fuzz_LoadImportFile fuzz_Operations)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A corpus=([rtf_reader_fuzz]=rtf [fuzz_OpenDatabase]=open [fuzz_LoadImportFile]=import
                   [fuzz_Operations]=ops)
# The readers of outside input also start from very long lines and bodies (made here, being
# megabytes), with dictionaries of their tokens and of sizes at the edges.
declare -A kind=([rtf_reader_fuzz]=rtf [fuzz_OpenDatabase]=database
                 [fuzz_LoadImportFile]=database)
for target in "${targets[@]}"; do
    binary=$(find "$build" -type f -name "$target" -perm -u+x | head -1)
    mkdir -p "$work/$target"
    cp -r "$root/tests/fuzz/corpus/${corpus[$target]}/." "$work/$target/"
    # A hang of more than a second on one input counts as a failure; a long seed, slowed down
    # by the sanitizers, gets three. The longest seed sets the longest input.
    options=(-timeout=1)
    if [[ -n ${kind[$target]:-} ]]; then
        python3 "$root/tests/fuzz/make_long_seeds.py" "${kind[$target]}" "$work/$target"
        options=(-timeout=3 -dict="$root/tests/fuzz/dict/${kind[$target]}.dict")
    fi
    echo "== $target: ${seconds}s"
    (cd "$work" && QT_QPA_PLATFORM=offscreen "$binary" "$work/$target" "${options[@]}" \
        -max_total_time="$seconds" -rss_limit_mb=4096 -print_final_stats=1 2>&1 | tail -n 12)
done
