#!/usr/bin/env bash
# End-to-end test of the real program, started as a person starts it: the
# link in games/, under Xvfb with a window manager, driven with xdotool and
# judged from screenshots and the record files.
#   run.sh <build-dir>        installs the build into a temporary prefix
#   run.sh --program <path>   tests an already installed program
# E2E_RECORDS names the record folder when it is not the per-login one.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

if [ "${1:-}" = "--program" ]; then
    export NUMERELLA_BIN="${2:?usage: run.sh --program <path>}"
else
    build="$(cd "${1:?usage: run.sh <build-dir>}" && pwd)"
    cmake --install "$build" --prefix "$work/prefix" >/dev/null
    export NUMERELLA_BIN="$work/prefix/games/numerella-del-dieci"
fi
export E2E_WORK="$work"
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x800x24" bash "$here/session.sh"
