#!/bin/sh
# Builds and runs the store benchmarks. BP_BENCH_LINEAR=1 gives the figures of the plain
# whole-section search for comparison. Extra arguments go to the benchmark binary.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$root/build-bench"}
cmake -G Ninja -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBRIGHTPOST_BUILD_GUI=OFF \
    -DBRIGHTPOST_BENCH=ON >/dev/null
ninja -C "$build" -j2 store_bench
exec "$build/tests/store_bench" "$@"
