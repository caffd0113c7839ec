#!/usr/bin/env bash
# Hears the real program: a PulseAudio server of the test's own with a null sink records, through its monitor,
# ten wrong answers given in a row; each must add sound within 0.3 s of its Enter.
#   hear.sh <build-dir> | --program <path>, as run.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
x_session "$@"
# Nothing here reaches the machine's own sound server.
export HOME="$work" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME="$work/data" PULSE_SERVER="unix:$work/run/pulse/native"
mkdir -m 700 "$work/run"
pulseaudio --daemonize=no -n --exit-idle-time=-1 --system=no --log-target=file:"$work/pulse.log" \
    -L module-native-protocol-unix -L "module-null-sink sink_name=hear rate=8000 channels=1" &
pids+=($!)
timeout 5 sh -c 'until pactl info >/dev/null 2>&1; do sleep 0.1; done' || fail "the test's PulseAudio did not start"
parec -d hear.monitor --raw --format=s16le --rate=8000 --channels=1 --latency-msec=20 \
    >"$work/heard.raw" 2>"$work/parec.log" &
pids+=($!)
# 8000 samples of 2 bytes a second; a quiet second before the game starts, so the first verdict has silence before it.
timeout 5 sh -c "until [ \$(stat -c %s '$work/heard.raw') -ge 16000 ]; do sleep 0.1; done" || fail "nothing recorded"
start_game Marta
enters=()
for _ in $(seq 1 10); do
    xdotool type --delay 30 5
    enters+=($(($(stat -c %s "$work/heard.raw") / 2)))
    xdotool key Return sleep 0.8 key Return sleep 0.6
done

# Loudness of the recording for 0.3 s from each Enter on, against 0.2 s just before it (the last sound has ended).
rms() {
    sox -t raw -r 8000 -e signed -b 16 -c 1 "$work/heard.raw" -n trim "$1"s "$2"s stat 2>&1 |
        awk '/RMS +amplitude/ { print $3 }'
}
silent=()
for i in "${!enters[@]}"; do
    at=${enters[$i]}
    before=$(rms $((at - 1600)) 1600) after=$(rms "$at" 2400)
    echo "verdict $((i + 1)) at $((at / 8)) ms: loudness ${before:-none} before, ${after:-none} after"
    awk -v b="${before:-0}" -v a="${after:-0}" 'BEGIN { exit !(a > 0.02 && a > 4 * b) }' || silent+=($((i + 1)))
done
[ ${#silent[@]} -eq 0 ] || fail "verdicts not heard: ${silent[*]} of 10 (game: $(head -c 300 "$work/Marta.log"))"
echo "hear passed: all ten verdicts added sound within 0.3 s"
