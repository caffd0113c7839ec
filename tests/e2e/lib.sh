# Helpers for driving the game under X with xdotool and judging screenshots.
# Sourced by session.sh and by the package check; the caller sets $shots.

fail() { echo "E2E FAIL: $*" >&2; exit 1; }

# Waits up to ten seconds for a visible window whose title matches exactly,
# of one process when a pid is given; prints its id.
wait_window() {
    local id
    for _ in $(seq 1 100); do
        id=$(xdotool search --all --onlyvisible ${2:+--pid "$2"} --name "^$1\$" 2>/dev/null | tail -n 1 || true)
        [ -z "$id" ] || { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no window titled '$1'"
}

wait_gone() {
    for _ in $(seq 1 100); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    fail "the program did not end"
}

# Colour of one screen pixel as "r g b".
pixel() {
    convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk 'NR==2 { gsub(/[()]/, "", $2); split($2, c, ","); print c[1], c[2], c[3] }'
}

# Board geometry: the client area of the game window, below the menu bar.
board_origin() {
    xwininfo -id "$1" | awk '
        /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF }
        END { print x, y, w, h }'
}

shot() {
    import -window root "$shots/$1.png"
    echo "$shots/$1.png"
}

is_black() { [ "$(pixel "$1" "$2" "$3")" = "0 0 0" ]; }
