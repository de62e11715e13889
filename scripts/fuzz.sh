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
targets=(rtf_reader_fuzz fuzz_OpenDatabase fuzz_LoadImportFile fuzz_Operations fuzz_SyncReader)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
declare -A corpus=([rtf_reader_fuzz]=rtf [fuzz_OpenDatabase]=open [fuzz_LoadImportFile]=import
                   [fuzz_Operations]=ops [fuzz_SyncReader]=sync)
# The readers of outside input get dictionaries of their tokens and of sizes at the edges, and a
# second run from very long lines and bodies (made here, being megabytes), kept apart so that
# the main run is not slowed down by mutating them.
declare -A kind=([rtf_reader_fuzz]=rtf [fuzz_OpenDatabase]=database
                 [fuzz_LoadImportFile]=database [fuzz_SyncReader]=sync)
run() {
    (cd "$work" && QT_QPA_PLATFORM=offscreen "$binary" "$@" -rss_limit_mb=4096 \
        -print_final_stats=1 2>&1 | tail -n 12)
}
for target in "${targets[@]}"; do
    binary=$(find "$build" -type f -name "$target" -perm -u+x | head -1)
    mkdir -p "$work/$target"
    cp -r "$root/tests/fuzz/corpus/${corpus[$target]}/." "$work/$target/"
    dict=()
    if [[ -n ${kind[$target]:-} ]]; then
        dict=(-dict="$root/tests/fuzz/dict/${kind[$target]}.dict")
    fi
    echo "== $target: ${seconds}s"
    # A hang of more than a second on one input counts as a failure.
    run "$work/$target" "${dict[@]}" -max_total_time="$seconds" -timeout=1
    if [[ -n ${kind[$target]:-} ]]; then
        long=$((seconds / 4 + 1))
        mkdir -p "$work/$target-long"
        python3 "$root/tests/fuzz/make_long_seeds.py" "${kind[$target]}" "$work/$target-long"
        echo "== $target, long lines and bodies: ${long}s"
        # Half a megabyte under the sanitizers takes most of a second; three is a hang.
        run "$work/$target-long" "${dict[@]}" -max_total_time="$long" -timeout=3
    fi
done
