#!/usr/bin/env bash
# Reliability checks beyond the normal test run:
#   1. the whole test suite built with clang, AddressSanitizer and
#      UndefinedBehaviorSanitizer (any report fails the test),
#   2. a Valgrind memcheck run of a selection of the normal test programs
#      (logic, record files, start-up and a game played through the window),
#   3. a short run of every libFuzzer target on its seed corpus.
#
#   scripts/reliability.sh [NORMAL_BUILD_DIR]     (default: <repo>/build)
#
# Settings from the environment:
#   FUZZ_SECONDS      seconds per fuzz target (default 5)
#   ASAN_BUILD_DIR    sanitizer build (default <repo>/build-asan)
#   FUZZ_BUILD_DIR    fuzz build (default <repo>/build-fuzz)
#   VALGRIND_TESTS    test programs run under Valgrind
#   SKIP_SANITIZERS=1, SKIP_VALGRIND=1, SKIP_FUZZ=1 leave a part out.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
normal_build="$(realpath -m "${1:-$root/build}")"
asan_build="${ASAN_BUILD_DIR:-$root/build-asan}"
fuzz_build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
fuzz_seconds="${FUZZ_SECONDS:-5}"
valgrind_tests="${VALGRIND_TESTS:-test_conversions test_quiz test_window test_play}"
jobs="$(nproc)"

"$root/scripts/ensure-deps.sh" test

export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="qt.multimedia*=false"

if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
    echo "== Sanitizers: the test suite with clang, AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S "$root" -B "$asan_build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNUMERELLA_SANITIZE=ON -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$asan_build" -j"$jobs"
    # Any report, leaks at exit included, ends the test program with an
    # error. Qt and fontconfig leave no leak behind here, so nothing is
    # suppressed.
    ASAN_OPTIONS="halt_on_error=1:print_stacktrace=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1" \
    UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
        ctest --test-dir "$asan_build" --output-on-failure -j"$jobs"
fi

if [ "${SKIP_VALGRIND:-0}" != 1 ]; then
    echo "== Valgrind memcheck: $valgrind_tests"
    if [ ! -f "$normal_build/CMakeCache.txt" ]; then
        cmake -S "$root" -B "$normal_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    fi
    # shellcheck disable=SC2086
    cmake --build "$normal_build" -j"$jobs" --target $valgrind_tests
    for test in $valgrind_tests; do
        echo "-- $test"
        log="$(mktemp)"
        if ! valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite \
                --show-leak-kinds=definite --error-exitcode=1 --num-callers=30 \
                --suppressions="$root/tests/valgrind.supp" --log-file="$log" \
                "$normal_build/$test" >/dev/null 2>&1; then
            cat "$log"
            rm -f "$log"
            echo "Valgrind found errors in $test" >&2
            exit 1
        fi
        grep -E "ERROR SUMMARY|definitely lost" "$log" || true
        rm -f "$log"
    done
fi

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
    echo "== Fuzzing: each target for ${fuzz_seconds}s on its seed corpus"
    "$root/fuzz/run-long.sh" "$fuzz_seconds"
fi

echo "== Reliability checks passed"
