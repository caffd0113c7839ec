#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds, starting from a copy of its seed corpus in fuzz/corpus/ (the
# committed corpus is never changed).
#
#   fuzz/run-long.sh SECONDS [TARGET...]      (default: every target)
#
# An input that breaks a target is kept in <repo>/fuzz-out/ and the script
# fails; the inputs a run found interesting are left in
# <repo>/fuzz-out/corpus/<target>/ for a look (they are not committed).
# FUZZ_BUILD_DIR sets the build folder (default <repo>/build-fuzz).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:?usage: fuzz/run-long.sh SECONDS [TARGET...]}"
shift
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(number pattern windows1252 recordfile)
fi
build="${FUZZ_BUILD_DIR:-$root/build-fuzz}"
out="$root/fuzz-out"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNUMERELLA_FUZZ=ON -DNUMERELLA_BUILD_TESTS=OFF -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p "$out"
failed=0
for target in "${targets[@]}"; do
    corpus="$out/corpus/$target"
    rm -rf "$corpus"
    mkdir -p "$corpus"
    cp "$root/fuzz/corpus/$target"/* "$corpus/"
    log="$(mktemp)"
    if UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" ASAN_OPTIONS="halt_on_error=1:detect_leaks=1" \
        "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
            -print_final_stats=1 -artifact_prefix="$out/$target-" "$corpus" >"$log" 2>&1; then
        runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")"
        echo "fuzz_$target: ${runs:-?} runs in ${seconds}s, no failure ($(ls "$corpus" | wc -l) inputs in the corpus)"
    else
        tail -n 60 "$log"
        echo "fuzz_$target FAILED; the input is kept in $out/" >&2
        failed=1
    fi
    rm -f "$log"
done
exit $failed
