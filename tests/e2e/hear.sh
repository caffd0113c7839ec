#!/usr/bin/env bash
# Hears the real program: a PulseAudio server of the test's own with a null
# sink records, through its monitor, ten wrong answers given in a row; each
# must add sound within 0.3 s of its Enter.
#   hear.sh <build-dir>        installs the build into a temporary prefix
#   hear.sh --program <path>   hears an already installed program
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

if [ "${1:-}" != --in-x ]; then
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    program="${2:-}"
    if [ "${1:-}" != --program ]; then
        cmake --install "${1:?usage: hear.sh <build-dir>}" --prefix "$work/prefix" >/dev/null
        program="$work/prefix/games/numerella-del-dieci"
    fi
    unset QT_QPA_PLATFORM
    xvfb-run -a -s "-screen 0 1280x800x24" bash "$0" --in-x "$program" "$work"
    exit
fi

program="$2" work="$3"
source "$here/lib.sh"
# Nothing here reaches the machine's own sound server or session bus.
export HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/data"
export PULSE_SERVER="unix:$work/run/pulse/native" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
mkdir -m 700 "$work/run"
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
pulseaudio --daemonize=no -n --exit-idle-time=-1 --system=no --log-target=file:"$work/pulse.log" \
    -L "module-native-protocol-unix" -L "module-null-sink sink_name=hear rate=8000 channels=1" &
pids+=($!)
for _ in $(seq 1 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || fail "the test's PulseAudio server did not start"
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1
parec -d hear.monitor --raw --format=s16le --rate=8000 --channels=1 --latency-msec=20 \
    >"$work/heard.raw" 2>"$work/parec.log" &
pids+=($!)
"$program" >"$work/game.log" 2>&1 &
pids+=($!)
focus() {
    local id
    id=$(wait_window "$1") || exit 1
    xdotool windowactivate --sync "$id" 2>/dev/null || true
}
focus "Numerella del dieci"
xdotool type --delay 30 Marta
xdotool key Return
sleep 0.5
focus "Numerella del dieci"
xdotool key Return
focus "Gioca con la numerella del dieci"
sleep 0.5
enters=()
for _ in $(seq 1 10); do
    xdotool type --delay 30 5
    # Where the recording stands at the Enter, in seconds of sound.
    enters+=("$(bc <<<"scale=3; $(stat -c %s "$work/heard.raw") / 16000")")
    xdotool key Return
    sleep 0.8
    xdotool key Return
    sleep 0.6
done

# Loudness of the recording from each Enter on, against the quiet moment
# just before it (the last sound has ended by then).
rms() {
    sox -t raw -r 8000 -e signed -b 16 -c 1 "$work/heard.raw" -n trim "$1" "$2" stat 2>&1 |
        awk '/RMS +amplitude/ { print $3 }'
}
silent=()
for i in "${!enters[@]}"; do
    at=${enters[$i]}
    before=$(rms "$(bc <<<"if ($at > 0.2) $at - 0.2 else 0")" 0.2)
    after=$(rms "$at" 0.3)
    echo "verdict $((i + 1)) at ${at}s: loudness ${before:-none} before, ${after:-none} after"
    awk -v b="${before:-0}" -v a="${after:-0}" 'BEGIN { exit !(a > 0.02 && a > 4 * b) }' || silent+=($((i + 1)))
done
[ ${#silent[@]} -eq 0 ] || fail "verdicts not heard: ${silent[*]} of 10 (game said: $(head -c 300 "$work/game.log"))"
echo "hear passed: all ten verdicts added sound within 0.3 s"
