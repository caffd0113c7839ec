#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite
# headless.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"
"$root/scripts/ensure-deps.sh" test

export QT_QPA_PLATFORM=offscreen

echo "== Build and unit tests"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUMERELLA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build "$root/build" -j"$jobs"
ctest --test-dir "$root/build" --output-on-failure -j"$jobs"

echo "== Reliability: sanitizers, valgrind, short fuzz runs"
"$root/scripts/reliability.sh" "$root/build"

echo "== End-to-end: the installed program under Xvfb, driven by keystrokes"
"$root/tests/e2e/run.sh" "$root/build"

echo "== Hearing: ten verdicts in a row on a PulseAudio server of the test's own"
"$root/tests/e2e/hear.sh" "$root/build"

echo "== Desktop entry and AppStream metadata"
desktop-file-validate "$root/packaging/org.numerella.NumerellaDelDieci.desktop"
appstreamcli validate --no-net --pedantic "$root/build/packaging/org.numerella.NumerellaDelDieci.metainfo.xml"

echo "== All tests passed"
