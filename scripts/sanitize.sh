#!/usr/bin/env bash
# Builds the unit and widget tests with run-time checks and runs them:
#   - AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/): every unit and widget test,
#     not the desktop tests (their X servers and helpers are not ours) nor the fuzzers (which
#     have their own sanitizer build, scripts/fuzz.sh);
#   - ThreadSanitizer (build-tsan/): the tests whose code runs on more than one thread: the
#     store's readers, writers and saves on threads of their own, the saves it announces, and
#     the background saver (app/AutoSaver) with edits coming from another thread.
#   scripts/sanitize.sh [asan|tsan]...     default both
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lanes=("$@")
((${#lanes[@]})) || lanes=(asan tsan)

"$root/scripts/deps.sh"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# configure BUILD_DIR SANITIZERS: a Debug build (quickest to compile; the checks do not need the
# optimiser) without the benchmarks. Warnings are checked by the main build; the sanitizers
# make GCC warn falsely about code it instruments, so they stay warnings here.
configure() {
    if [[ ! -f $1/build.ninja ]]; then
        cmake -S "$root" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 \
            -DBRIGHTPOST_SANITIZE="$2" -DBRIGHTPOST_BENCH=OFF "${launcher[@]}"
    fi
}

suppressions=$root/tests/sanitize
for lane in "${lanes[@]}"; do
    case $lane in
    asan)
        build=${BRIGHTPOST_ASAN_BUILD_DIR:-$root/build-asan}
        configure "$build" address,undefined
        cmake --build "$build" -j "$(nproc)" --target store_tests save_loop bpdb alarm_tests \
            app_tests note_widget_tests note_window_tests attach_tests note_output_tests \
            settings_tests rtf_tests manage_logic_tests manage_tests scripting_tests platform_probe \
            sync_tests dbus_tests desktopsearch_tests
        echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
        (cd "$build" &&
            ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1 \
            LSAN_OPTIONS=suppressions=$suppressions/lsan.supp:print_suppressions=0 \
            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
            ctest --output-on-failure -j "$(nproc)" -LE e2e)
        ;;
    tsan)
        build=${BRIGHTPOST_TSAN_BUILD_DIR:-$root/build-tsan}
        configure "$build" thread
        cmake --build "$build" -j "$(nproc)" --target store_tests save_loop bpdb app_tests
        echo "== ThreadSanitizer"
        (cd "$build" &&
            TSAN_OPTIONS=suppressions=$suppressions/tsan.supp:halt_on_error=1:second_deadlock_stack=1 \
            ctest --output-on-failure -j "$(nproc)" \
                -R '^store\.(Concurrency|ChangeSaving)\.|^app\.(SaveSchedule|AutoSaving)')
        ;;
    *)
        echo "unknown lane: $lane (asan or tsan)" >&2
        exit 2
        ;;
    esac
done
