# Drives the game under X with xdotool and judges screenshots. Sourced by run.sh and hear.sh, and by the
# package check, which sets $shots itself and uses only the window and picture helpers.

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

focus() { local id; id=$(wait_window "$1") || exit 1; xdotool windowactivate --sync "$id" 2>/dev/null || true; }

# Colour of one screen pixel as "r g b".
pixel() { convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | awk -F'[(),]' 'NR == 2 { print $3, $4, $5 }'; }

# The client area of a window (menu bar included) as "x y width height".
board_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}

shot() { import -window root "$shots/$1.png"; echo "$shots/$1.png"; }

is_black() { [ "$(pixel "$1" "$2" "$3")" = "0 0 0" ]; }

# x_session <build-dir> | --program <path>: installs the build into a temporary prefix (or takes the installed
# program) and runs the calling script again under Xvfb, where it sets $program, $work and $shots and starts openbox.
x_session() {
    if [ -z "${E2E_WORK:-}" ]; then
        E2E_WORK="$(mktemp -d)"
        trap 'rm -rf "$E2E_WORK"' EXIT
        E2E_PROGRAM="$E2E_WORK/prefix/games/numerella-del-dieci"
        if [ "${1:-}" = --program ]; then E2E_PROGRAM="${2:?usage: $0 --program <path>}"
        else cmake --install "${1:?usage: $0 <build-dir> | --program <path>}" --prefix "$E2E_WORK/prefix" >/dev/null; fi
        # A bus that leads nowhere: no autolaunched daemon outlives the run.
        export E2E_WORK E2E_PROGRAM DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent
        unset QT_QPA_PLATFORM
        xvfb-run -a -s "-screen 0 1280x800x24" bash "$0"
        exit
    fi
    program="$E2E_PROGRAM" work="$E2E_WORK" shots="$E2E_WORK/shots"
    mkdir -p "$shots"
    trap 'kill "${pids[@]}" 2>/dev/null; wait' EXIT
    openbox >/dev/null 2>&1 &
    pids=($!)
    sleep 1
}

# start_game NAME: starts the program (through $start_through, if set; its output in $work/NAME.log), types NAME at the
# prompt and Enter at the greeting; sets $game, $board and the board window's client area $bx $by $bw $bh.
start_game() {
    ${start_through-} "$program" >"$work/$1.log" 2>&1 &
    game=$!
    pids+=("$game")
    for keys in "$1" ""; do
        focus "Numerella del dieci"
        [ -z "$keys" ] || xdotool type --delay 30 "$keys"
        xdotool key Return sleep 0.5
    done
    board=$(wait_window "Gioca con la numerella del dieci")
    read -r bx by bw bh <<<"$(board_origin "$board")"
    sleep 0.5
}

# quit KEY [box]: ends the game from its board with KEY, closing the box it shows then; it must exit with status 0.
quit() {
    xdotool windowactivate --sync "$board" 2>/dev/null || true
    xdotool key "$1"
    [ -z "${2:-}" ] || { focus "Numerella del dieci"; xdotool key Return; }
    wait_gone "$game"
    wait "$game" || fail "the game ended with status $? after $1"
}
