#!/usr/bin/env bash
# Measures the game's footprint on real X screens against the floor program
# and prints one table (bench/README.md says what each figure means).
#
#   bench/run.sh                          # build dir: <repo>/build-bench
#   BUILD_DIR=/some/dir bench/run.sh
#
# Through the environment: PROMPT_RUNS (starts per program and screen, the
# best counts; default 7), MEMORY_RUNS (sessions per program and screen, the
# median counts; default 3). Raw figures and logs stay in <build>/bench-results/.
# It takes about four minutes on two cores once built, and fails only when
# something cannot be built or run; a missed goal shows as NO in the table.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-bench}"
results="$build/bench-results"

missing=()
for tool in Xvfb openbox xdotool xprop xev stdbuf python3; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
if [ ${#missing[@]} -ne 0 ]; then
    echo "Missing: ${missing[*]}. scripts/ensure-deps.sh test installs them." >&2
    exit 1
fi

echo "== Building in $build" >&2
mkdir -p "$results"
if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
           -DNUMERELLA_BUILD_TESTS=ON -DNUMERELLA_BUILD_BENCHMARKS=ON &&
       cmake --build "$build" -j2 --target numerella-del-dieci floor frame_times; } \
        >"$results/build.log" 2>&1; then
    tail -n 30 "$results/build.log" >&2
    echo "The benchmark programs did not build (log: $results/build.log)." >&2
    exit 1
fi

# The measuring script stops every server and program it started, also when
# it is interrupted (Ctrl+C, or a TERM to this script's process, which
# becomes timeout's); the outer limit only guards against the unforeseen.
exec timeout --foreground --kill-after=10 900 python3 "$root/bench/footprint.py" "$build" "$results"
