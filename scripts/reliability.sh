#!/usr/bin/env bash
# Reliability checks beyond the normal test run:
#   1. the whole test suite built with clang, AddressSanitizer and
#      UndefinedBehaviorSanitizer (any report fails the test),
#   2. Valgrind memcheck on two test programs of the normal build,
#   3. a short libFuzzer run on the record file reading.
#
#   scripts/reliability.sh [NORMAL_BUILD_DIR]     (default: <repo>/build)
#
# Settings from the environment:
#   FUZZ_SECONDS      seconds of fuzzing (default 10)
#   ASAN_BUILD_DIR    sanitizer build (default <repo>/build-asan)
#   FUZZ_BUILD_DIR    fuzz build (default <repo>/build-fuzz)
#   VALGRIND_TESTS    test programs run under Valgrind
#   SKIP_SANITIZERS=1, SKIP_VALGRIND=1, SKIP_FUZZ=1 leave a part out.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
normal_build="$(realpath -m "${1:-$root/build}")"
asan_build="${ASAN_BUILD_DIR:-$root/build-asan}"
fuzz_build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
fuzz_seconds="${FUZZ_SECONDS:-10}"
valgrind_tests="${VALGRIND_TESTS:-test_rules test_game}"
jobs="$(nproc)"

"$root/scripts/ensure-deps.sh" test

export QT_QPA_PLATFORM=offscreen
export QT_LOGGING_RULES="qt.multimedia*=false"

if [ "${SKIP_SANITIZERS:-0}" != 1 ]; then
    echo "== Sanitizers: the test suite with clang, AddressSanitizer and UndefinedBehaviorSanitizer"
    cmake -S "$root" -B "$asan_build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNUMERELLA_SANITIZE=ON -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$asan_build" -j"$jobs"
    # Any report, leaks at exit included, ends the test program with an error.
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
        echo "-- $test: $(grep -E "ERROR SUMMARY" "$log" | sed 's/^==[0-9]*== //')"
        rm -f "$log"
    done
fi

if [ "${SKIP_FUZZ:-0}" != 1 ]; then
    echo "== Fuzzing: the record file reading for ${fuzz_seconds}s on its seed corpus"
    cmake -S "$root" -B "$fuzz_build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNUMERELLA_FUZZ=ON -DNUMERELLA_BUILD_TESTS=OFF -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$fuzz_build" -j"$jobs" --target fuzz_recordfile
    # The run works on a copy, so the committed corpus never changes; an
    # input that breaks the target is kept in fuzz-out/ (ignored by git).
    out="$root/fuzz-out"
    rm -rf "$out/corpus"
    mkdir -p "$out/corpus"
    cp "$root/fuzz/corpus/recordfile"/* "$out/corpus/"
    log="$(mktemp)"
    if ! UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" ASAN_OPTIONS="halt_on_error=1:detect_leaks=1" \
        "$fuzz_build/fuzz/fuzz_recordfile" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="$out/recordfile-" "$out/corpus" >"$log" 2>&1; then
        tail -n 60 "$log"
        rm -f "$log"
        echo "fuzz_recordfile FAILED; the input is kept in $out/" >&2
        exit 1
    fi
    echo "-- fuzz_recordfile: $(sed -n 's/^stat::number_of_executed_units: *//p' "$log") runs, no failure"
    rm -f "$log"
fi

echo "== Reliability checks passed"
