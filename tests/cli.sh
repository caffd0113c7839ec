#!/usr/bin/env bash
# The command line of the real program: --help and --version answer without
# any display, a missing or dead display ends with one clear line and status
# 1 rather than Qt's abort, and a stray argument is refused.
#   cli.sh <program> <version>
set -uo pipefail
program="${1:?usage: cli.sh <program> <version>}"
version="${2:?usage: cli.sh <program> <version>}"
out="$(mktemp)"; err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT
failures=0
passed=0

# Runs the program with no display at all, plus any VAR=value given before --.
run() {
    local settings=()
    while [ "$1" != -- ]; do settings+=("$1"); shift; done
    shift
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${settings[@]}" \
        timeout 20 "$program" "$@" >"$out" 2>"$err"
    status=$?
}

check() {
    local what="$1"; shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failures=$((failures + 1))
        echo "FAIL: $what (status $status)"
        echo "  stdout: $(cat "$out")"
        echo "  stderr: $(cat "$err")"
    fi
}

lines() { wc -l <"$1"; }

for option in --help -h; do
    run -- "$option"
    check "$option exits 0" [ "$status" = 0 ]
    check "$option starts with the Italian usage line" \
        grep -qx "Uso: numerella-del-dieci \[opzioni\]" <(head -n 1 "$out")
    check "$option lists itself in Italian" grep -Eq -- "-h, --help +Mostra questo aiuto" "$out"
    check "$option lists --version in Italian" grep -Eq -- "-v, --version +Mostra la versione" "$out"
    check "$option writes nothing on stderr" [ ! -s "$err" ]
done

for option in --version -v; do
    run -- "$option"
    check "$option exits 0" [ "$status" = 0 ]
    check "$option prints name and version" [ "$(cat "$out")" = "numerella-del-dieci $version" ]
done

# Help wins over the missing display and over other arguments.
run -- --version --help
check "--help after --version still shows the help" grep -q "^Uso:" "$out"

run --
check "no display: status 1, not an abort" [ "$status" = 1 ]
check "no display: one line on stderr" [ "$(lines "$err")" = 1 ]
check "no display: says so in Italian and names DISPLAY" \
    grep -qx "numerella-del-dieci: nessuno schermo disponibile (DISPLAY non impostato): avvia il gioco da una sessione grafica." "$err"
check "no display: nothing on stdout" [ ! -s "$out" ]

run DISPLAY= WAYLAND_DISPLAY= -- 
check "empty DISPLAY counts as none" [ "$status" = 1 ]

# A display that is named but not there: Qt's own fatal error becomes status 1.
run DISPLAY=:1999 XAUTHORITY=/nonexistent --
check "dead display: status 1, not an abort" [ "$status" = 1 ]
check "dead display: the Italian line names the display" \
    grep -q "^numerella-del-dieci: impossibile aprire lo schermo (DISPLAY=:1999): avvia il gioco" "$err"

run QT_QPA_PLATFORM=offscreen -- --colori 3
check "unknown argument: status 2" [ "$status" = 2 ]
check "unknown argument: named in the message" grep -q "argomento sconosciuto «--colori»" "$err"

run QT_QPA_PLATFORM=offscreen -- partita
check "stray word: status 2" [ "$status" = 2 ]

echo "$passed passed, $failures failed"
[ "$failures" = 0 ]
