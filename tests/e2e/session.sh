#!/usr/bin/env bash
# The X session of the end-to-end test (run by run.sh under xvfb-run).
set -euo pipefail
work="$E2E_WORK"
shots="$work/shots"
mkdir -p "$shots"
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

openbox >/dev/null 2>&1 &
wm=$!
trap 'kill $wm 2>/dev/null || true' EXIT
sleep 1

# The column right of every control shows the background: the shading runs
# from blue 0 at the top to blue 255 at the bottom in one tint (red = green).
check_shading() {
    read -r r g b <<<"$(pixel "$1" "$2" "$3")"
    [ "$b" -le 2 ] && [ "$r" = "$g" ] || fail "top of the shading is $r $g $b"
    read -r r2 g2 b2 <<<"$(pixel "$1" "$2" "$4")"
    [ "$r2 $g2" = "$r $g" ] && [ "$b2" -ge 253 ] || fail "bottom of the shading is $r2 $g2 $b2"
}

# Starts the game and types the name at its prompt and Enter at the greeting.
start_game() {
    "$NUMERELLA_BIN" >"$2" 2>&1 &
    game=$!
    for keys in "$1" ""; do
        xdotool windowactivate --sync "$(wait_window "Numerella del dieci")" 2>/dev/null || true
        [ -z "$keys" ] || xdotool type --delay 30 "$keys"
        xdotool key Return
        sleep 0.5
    done
    board=$(wait_window "Gioca con la numerella del dieci")
    sleep 0.5
}

# ---- Run 1: a wrong answer, then the close box ends without a record.
export XDG_DATA_HOME="$work/data1"
export QT_LOGGING_RULES="numerella.sound.debug=true"
start_game "Marta" "$work/run1.log"
[ "$(xprop -id "$board" _NET_WM_STATE | grep -o 'MAXIMIZED_[A-Z]*' | sort | paste -sd ' ')" = "MAXIMIZED_HORZ MAXIMIZED_VERT" ] ||
    fail "board is not maximised"
# The window's class is the one its menu entry names, so the desktop ties
# the running game to the entry and its icon.
desktop="$(dirname "$(dirname "$NUMERELLA_BIN")")/share/applications/org.numerella.NumerellaDelDieci.desktop"
[ -f "$desktop" ] || fail "no desktop entry at $desktop"
wm_class=$(xprop -id "$board" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wm_class" ] && [ "$wm_class" = "$startup_class" ] ||
    fail "window class '$wm_class' differs from the entry's StartupWMClass '$startup_class'"
echo "window class $wm_class matches StartupWMClass of $(basename "$desktop")"
read -r bx by bw bh <<<"$(board_origin "$board")"
png=$(shot run1-board)
# The menu bar takes the first rows of the client area; the board starts below.
col=$((bx + bw - 20))
board_top=""
for y in $(seq "$by" $((by + 60))); do
    read -r r g b <<<"$(pixel "$png" "$col" "$y")"
    if [ "$r" = "$g" ] && [ "$b" -le 2 ] && [ $((r % 10)) -le 1 ]; then board_top=$y; break; fi
done
[ -n "$board_top" ] || fail "no shaded board below the menu bar"
check_shading "$png" "$col" "$board_top" $((by + bh - 1))
# The question row: lblNum1 is a yellow box at (56, 0) of the board, 10 X at its left.
read -r r g b <<<"$(pixel "$png" $((bx + 58)) $((board_top + 3)))"
[ "$r" = 255 ] && [ "$g" = 255 ] && [ "$b" = 0 ] || fail "no yellow factor box at the question row ($r $g $b)"
read -r r g b <<<"$(pixel "$png" $((bx + 600)) $((board_top + 70)))"
[ "$r" = 255 ] && [ "$g" = 255 ] && [ "$b" = 128 ] || fail "no light-yellow answer box at the question row ($r $g $b)"

xdotool type --delay 30 "5"
xdotool key Return
sleep 0.5
png=$(shot run1-wrong)
is_black "$png" "$col" $((board_top + 200)) || fail "background not black after a wrong answer"
grep -q "lib/numerella-del-dieci/suoni/no.wav" "$work/run1.log" || fail "wrong-answer sound not looked up beside the program"
grep -q "playing:.*suoni/no.wav" "$work/run1.log" || fail "wrong-answer sound file not found beside the program"
sleep 0.5

xdotool windowactivate --sync "$board" 2>/dev/null || true
xdotool key alt+F4
wait_gone "$game"
wait "$game" || fail "program ended with status $? after the close box"
for f in tavrec10.txt ntavrec10.txt; do
    path="${E2E_RECORDS:-$XDG_DATA_HOME/numerella-del-dieci}/$f"
    [ -f "$path" ] || fail "$f was not created"
    [ ! -s "$path" ] || fail "$f is not empty after a game closed with the close box"
done
echo "run 1 passed: shading, question row, black after a wrong answer, close without record"

# ---- Run 2: answer 50 until one is right, then Alt+X saves a record of 1.
export XDG_DATA_HOME="$work/data2"
start_game "Luca" "$work/run2.log"
read -r bx by bw bh <<<"$(board_origin "$board")"
col=$((bx + bw - 20))
right=""
for try in $(seq 1 80); do
    xdotool type --delay 20 "50"
    xdotool key Return
    sleep 0.3
    png=$(shot run2-try)
    if is_black "$png" "$col" $((by + bh / 2)); then
        xdotool key alt+n
        sleep 0.3
    else
        right=$try
        break
    fi
done
[ -n "$right" ] || fail "no right answer in 80 tries"
xdotool key alt+x
box=$(wait_window "Numerella del dieci")
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key Return
wait_gone "$game"
wait "$game" || fail "program ended with status $? after the exit button"
records="${E2E_RECORDS:-$XDG_DATA_HOME/numerella-del-dieci}"
score=$(xxd -p "$records/tavrec10.txt")
holder=$(xxd -p "$records/ntavrec10.txt")
[ "$score" = "310d0a" ] || fail "score file holds $score, not 1 CR LF"
[ "$holder" = "4c7563610d0a" ] || fail "name file holds $holder, not Luca CR LF"
echo "run 2 passed: right answer after $right tries, record 1 by Luca saved byte for byte"

# ---- Run 3: a desktop scaled to 150 %.
source "$(dirname "${BASH_SOURCE[0]}")/scaled.sh"
