#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# headless.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/ensure-deps.sh" test

export QT_QPA_PLATFORM=offscreen

echo "== Build and unit tests"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== All tests passed"
