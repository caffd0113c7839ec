#!/usr/bin/env bash
# The command line of the real program: --help and --version answer without
# any display, a missing or dead display ends with one clear line and status
# 1 rather than Qt's abort, and a stray argument is refused.
#   cli.sh <program> <version>
set -uo pipefail
program="${1:?usage: cli.sh <program> <version>}"
version="${2:?usage: cli.sh <program> <version>}"
failures=0
passed=0

# expect STATUS PATTERN [VAR=value...] -- ARGS: runs with no display at all;
# the status must match and stdout+stderr must hold the (extended) pattern.
expect() {
    local want="$1" pattern="$2" settings=() out status lines
    shift 2
    while [ "$1" != -- ]; do settings+=("$1"); shift; done
    shift
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${settings[@]}" timeout 20 "$program" "$@" 2>&1)
    status=$?
    # Status 1 (no display) says one line and nothing else.
    lines=$(wc -l <<<"$out")
    if [ "$status" = "$want" ] && grep -Eq -- "$pattern" <<<"$out" && { [ "$want" != 1 ] || [ "$lines" = 1 ]; }; then
        passed=$((passed + 1))
    else
        failures=$((failures + 1))
        echo "FAIL: $* gave status $status (want $want), output: $out"
    fi
}

for option in --help -h; do
    expect 0 "^Uso: numerella-del-dieci \[opzioni\]$" -- "$option"
    expect 0 "-v, --version +Mostra la versione del gioco" -- "$option"
done
expect 0 "^numerella-del-dieci $version$" -- --version
expect 0 "^numerella-del-dieci $version$" -- -v
expect 0 "^Uso:" -- --version --help
session=": avvia il gioco da una sessione grafica\.$"
expect 1 "^numerella-del-dieci: nessuno schermo disponibile \(DISPLAY non impostato\)$session" --
expect 1 "nessuno schermo disponibile" DISPLAY= WAYLAND_DISPLAY= --
expect 1 "^numerella-del-dieci: impossibile aprire lo schermo \(DISPLAY=:1999\)$session" DISPLAY=:1999 XAUTHORITY=/x --
expect 2 "argomento sconosciuto «--colori»" QT_QPA_PLATFORM=offscreen -- --colori 3
expect 2 "" QT_QPA_PLATFORM=offscreen -- partita

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
