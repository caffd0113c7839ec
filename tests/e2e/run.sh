#!/usr/bin/env bash
# End-to-end test of the real program, started as a person starts it: the link in games/, under Xvfb with a
# window manager, driven with xdotool and judged from screenshots and the record files.
#   run.sh <build-dir>        installs the build into a temporary prefix
#   run.sh --program <path>   tests an already installed program
# E2E_RECORDS names the record folder when it is not the per-login one.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
x_session "$@"
# The record as the hex bytes of its score file and its name file.
saved() {
    local in="${E2E_RECORDS:-$XDG_DATA_HOME/numerella-del-dieci}"
    echo "$(xxd -p "$in/tavrec10.txt" 2>&1) $(xxd -p "$in/ntavrec10.txt" 2>&1)"
}
# expect X Y "R G B" WHAT: one pixel of the last shot $png.
expect() { local got; got=$(pixel "$png" "$1" "$2"); [ "$got" = "$3" ] || fail "$4 at ($1, $2) is $got, not $3"; }

# ---- Run 1: a wrong answer, then the close box ends without a record.
export XDG_DATA_HOME="$work/data1" QT_LOGGING_RULES="numerella.sound.debug=true"
start_game Marta
state=$(xprop -id "$board" _NET_WM_STATE | grep -o 'MAXIMIZED_[A-Z]*' | sort | paste -sd ' ')
[ "$state" = "MAXIMIZED_HORZ MAXIMIZED_VERT" ] || fail "the board is not maximised ($state)"
# The window's class is the one its menu entry names, so the desktop ties the running game to the entry and its icon.
desktop="$(dirname "$(dirname "$program")")/share/applications/org.numerella.NumerellaDelDieci.desktop"
wm_class=$(xprop -id "$board" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = "[^"]*", "\([^"]*\)"$/\1/p')
startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop")
[ -n "$wm_class" ] && [ "$wm_class" = "$startup_class" ] ||
    fail "window class '$wm_class' differs from the entry's StartupWMClass '$startup_class'"
png=$(shot run1-board)
# Right of every control the background shows: its shading runs from blue 0 below the menu bar to blue 255 at
# the bottom in one tint (red = green).
col=$((bx + bw - 20))
read -r top r g _ < <(convert "$png" -crop "1x61+$col+$by" -depth 8 txt:- |
    awk -F'[(),:]' 'NR > 1 && $4 == $5 && $6 <= 2 && $4 % 10 <= 1 { print $2 + '"$by"', $4, $5; exit }') ||
    fail "no shaded board below the menu bar"
read -r r2 g2 b2 <<<"$(pixel "$png" "$col" $((by + bh - 1)))"
[ "$r2 $g2" = "$r $g" ] && [ "$b2" -ge 253 ] || fail "the shading ends in $r2 $g2 $b2 from $r $g 0"
# The question row: the yellow factor box (10 X at its left) at (56, 0) of the board, the light-yellow answer box.
expect $((bx + 58)) $((top + 3)) "255 255 0" "the factor box"
expect $((bx + 600)) $((top + 70)) "255 255 128" "the answer box"
xdotool type --delay 30 5
xdotool key Return sleep 0.5
png=$(shot run1-wrong)
expect "$col" $((top + 200)) "0 0 0" "the background after a wrong answer"
grep -q "playing:.*lib/numerella-del-dieci/suoni/no.wav" "$work/Marta.log" ||
    fail "the wrong-answer sound was not played from beside the program"
sleep 0.5
quit alt+F4
[ "$(saved)" = " " ] || fail "the close box left the record '$(saved)', not two empty files"
echo "run 1 passed: maximised, window class, shading, question row, black after a wrong answer, no record"

# Answers 50 until one is right (the background is not black after it); $try counts the answers.
answer_right() {
    for try in $(seq 1 80); do
        xdotool type --delay 20 50
        xdotool key Return sleep 0.3
        is_black "$(shot right-try)" $((bx + bw - 20)) $((by + bh / 2)) || return 0
        xdotool key alt+n sleep 0.3
    done
    fail "no right answer in 80 tries"
}

# ---- Run 2: answer 50 until one is right, then Alt+X saves a record of 1.
export XDG_DATA_HOME="$work/data2"
start_game Luca
answer_right
quit alt+x box
[ "$(saved)" = "310d0a 4c7563610d0a" ] || fail "the record holds '$(saved)', not 1 CR LF and Luca CR LF"
echo "run 2 passed: right answer after $try tries, record 1 by Luca saved byte for byte"

# ---- Run 3: a desktop scaled to 150 %, where the board's design is taller than the screen and the board shrinks
# to fit: the record line, its last, yellow at the bottom left, shows on screen.
export XDG_DATA_HOME="$work/data3" QT_SCALE_FACTOR=1.5
start_game Sara
png=$(shot run3-scaled)
[ $((by + bh)) -le 800 ] || fail "the scaled window reaches below the screen"
yellow=$(convert "$png" -crop "$((bw / 3))x$((bh / 8))+$bx+$((by + bh - bh / 8))" txt:- | grep -c "#FFFF00" || true)
[ "$yellow" -gt 50 ] || fail "no record line at the bottom of the scaled board ($yellow yellow pixels)"
quit alt+F4
echo "run 3 passed: at a desktop scale of 150 % the record line is on screen"

# ---- Run 4, with a login's own record: under a file-size limit of 0 (the log's too) the save fails with a box,
# the game ends as usual, the record files stay empty.
[ -n "${E2E_RECORDS:-}" ] && exit 0
export XDG_DATA_HOME="$work/data4" start_through="prlimit --fsize=0"
unset QT_SCALE_FACTOR
start_game Pia
answer_right
quit alt+x box
[ "$(saved)" = " " ] || fail "the failed save left the record '$(saved)'"
echo "run 4 passed: under a file-size limit of 0 the failed save gets its box and the game ends normally"
