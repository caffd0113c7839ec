# Sourced at the end of session.sh: a start on a desktop scaled to 150 %, where
# the board's design is taller than the screen and the board shrinks to fit.
# The record line, the board's last, must show on screen.
export XDG_DATA_HOME="$work/data3"
export QT_SCALE_FACTOR=1.5
start_game "Sara" "$work/run3.log"
unset QT_SCALE_FACTOR
read -r bx by bw bh <<<"$(board_origin "$board")"
png=$(shot run3-scaled)
screen_height=$(xwininfo -root | awk '/Height:/ { print $NF }')
[ $((by + bh)) -le "$screen_height" ] || fail "the scaled window reaches below the screen"
# "Il record  è di" is yellow text at the bottom left of the board.
yellow=$(convert "$png" -crop "$((bw / 3))x$((bh / 8))+$bx+$((by + bh - bh / 8))" +repage txt:- | grep -c "#FFFF00" || true)
[ "$yellow" -gt 50 ] || fail "no record line at the bottom of the scaled board ($yellow yellow pixels)"
xdotool windowactivate --sync "$board" 2>/dev/null || true
xdotool key alt+F4
wait_gone "$game"
echo "run 3 passed: at a desktop scale of 150 % the record line is on screen ($png)"
