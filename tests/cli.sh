#!/usr/bin/env bash
# The real program's command line, with no display at all: help and version, one clear line and status 1 where no
# display opens, status 2 for a stray argument.   cli.sh <program> <version>
set -uo pipefail
program="$1" version="$2" failures=0

# expect STATUS PATTERN [VAR=value...] [ARGS...]: the status must match and the output hold the (extended) pattern;
# status 1 (no display) says one line and nothing else.
expect() {
    local want="$1" pattern="$2" settings=() out status
    shift 2
    while [[ "${1:-}" == *=* ]]; do settings+=("$1"); shift; done
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${settings[@]}" timeout 20 "$program" "$@" 2>&1)
    status=$?
    [ "$want" != 1 ] || [ "$(wc -l <<<"$out")" = 1 ] || status="$status in more than one line"
    [ "$status" = "$want" ] && grep -Eq -- "$pattern" <<<"$out" ||
        { failures=$((failures + 1)); echo "FAIL: $* gave status $status (want $want), output: $out"; }
}

expect 0 "^Uso: numerella-del-dieci \[opzioni\]$" -h
expect 0 "^numerella-del-dieci $version$" --version
session=": avvia il gioco da una sessione grafica\.$"
expect 1 "^numerella-del-dieci: nessuno schermo disponibile \(DISPLAY non impostato\)$session"
expect 1 "^numerella-del-dieci: impossibile aprire lo schermo \(DISPLAY=:1999\)$session" DISPLAY=:1999 XAUTHORITY=/x
expect 2 "argomento sconosciuto «--colori»" QT_QPA_PLATFORM=offscreen --colori 3
echo "$failures failed"
[ "$failures" = 0 ]
