#!/usr/bin/env bash
# The record of the installed game, played as real logins: two throwaway
# users one after the other on the shared record, two copies of the game
# ending together, a FIFO and unreadable files in place of the record.
# Run by package-check.sh as root under an X server that every user may
# use (xvfb-run -s -ac); judged from the record's bytes, the boxes the game
# shows and screenshots kept in $RECORD_SHOTS.
#   package-check-records.sh <installed launcher> <build-tree program>
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tests/e2e/lib.sh"
fail() { echo "RECORD CHECK FAIL: $*" >&2; exit 1; }
installed="$1"
build_tree="$2"
shared=/var/games/numerella-del-dieci
shots="${RECORD_SHOTS:?}"
rm -rf "$shots" && mkdir -p "$shots"
work="$(mktemp -d)"
chmod 755 "$work"
users=(numerella-a numerella-b)
started=()
games=0

cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    kill "$wm" 2>/dev/null || true
    for user in "${users[@]}"; do userdel -r -f "$user" 2>/dev/null || true; done
    rm -rf "$work"
}
openbox >/dev/null 2>&1 &
wm=$!
trap cleanup EXIT
for user in "${users[@]}"; do
    userdel -r -f "$user" 2>/dev/null || true
    useradd -m -s /bin/sh "$user"
    ! id -nG "$user" | grep -qw games || fail "$user is in the games group"
    install -d -o "$user" -m 700 "$work/run-$user"
done
sleep 1

home() { getent passwd "$1" | cut -d: -f6; }
hex() { printf '%s\r\n' "$1" | xxd -p; }
record() { echo "$(xxd -p "$1/tavrec10.txt") $(xxd -p "$1/ntavrec10.txt")"; }
reset_shared() { : >"$shared/tavrec10.txt"; : >"$shared/ntavrec10.txt"; }
elapsed() { awk -v from="$1" -v to="$(date +%s.%N)" 'BEGIN { printf "%.2f", to - from }'; }

# start USER NAME PROGRAM [VAR=VALUE...]: a copy of PROGRAM as USER, with a
# clean environment, past its name and greeting to its board ($pid, $board).
# With BOX set, a box must come between greeting and board: it is shot
# under that name and its delay printed.
start() {
    local user="$1" name="$2" program="$3" log="$work/game-$((++games)).log" id t0
    shift 3
    runuser -u "$user" -- env -i HOME="$(home "$user")" PATH=/usr/bin:/bin:/usr/games LANG=C.UTF-8 \
        DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$work/run-$user" "$@" \
        sh -c 'echo $$; exec "$0"' "$program" >"$log" 2>&1 &
    started+=($!)
    pid=""
    for _ in $(seq 1 50); do pid=$(head -n 1 "$log" 2>/dev/null || true); [ -z "$pid" ] || break; sleep 0.1; done
    [ -n "$pid" ] || fail "$program did not start as $user"
    started+=("$pid")
    id=$(wait_window "Numerella del dieci" "$pid")
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    xdotool type --delay 30 "$name"
    xdotool key Return
    sleep 0.5
    id=$(wait_window "Numerella del dieci" "$pid")
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    t0=$(date +%s.%N)
    xdotool key Return
    if [ -n "${BOX:-}" ]; then
        sleep 0.5
        id=$(wait_window "Numerella del dieci" "$pid")
        echo "  box $(shot "$BOX") shown $(elapsed "$t0") s after the greeting"
        xdotool windowactivate --sync "$id" 2>/dev/null || true
        xdotool key Return
    fi
    board=$(wait_window "Gioca con la numerella del dieci" "$pid")
    sleep 1
}

# The board of $board as it stands: "wrong" (black), "right" (the red
# praise on the shading) or "asking" (neither).
board_state() {
    local png
    png=$(shot try)
    if is_black "$png" $((bx + bw - 20)) $((by + bh / 2)); then
        echo wrong
    elif convert "$png" -crop "330x40+$((bx + 170))+$((by + 150))" -format %c histogram:info:- | grep -q '#FF0000'; then
        echo right
    else
        echo asking
    fi
}

# Waits for the board to show $1 (a state or a regular expression of them);
# prints the state.
wait_state() {
    local state
    for _ in $(seq 1 30); do
        state=$(board_state)
        if [[ "$state" =~ ^($1)$ ]]; then echo "$state"; return 0; fi
        sleep 0.1
    done
    fail "the board never showed $1"
}

# Answers 50 until that was right $1 times on $board.
answer_right() {
    local got=0
    read -r bx by bw bh <<<"$(board_origin "$board")"
    for _ in $(seq 1 200); do
        xdotool windowactivate --sync "$board" 2>/dev/null || true
        wait_state asking >/dev/null
        xdotool type --delay 20 "50"
        xdotool key Return
        [ "$(wait_state 'right|wrong')" = wrong ] || got=$((got + 1))
        [ "$got" -lt "$1" ] || return 0
        xdotool key alt+n
    done
    fail "not $1 right answers in 200 tries"
}

alt_x() { xdotool windowactivate --sync "$1" 2>/dev/null || true; xdotool key alt+x; }

# The box copy $1 shows when it ends is shot as $2 and closed; the copy ends.
closing_box() {
    local id
    id=$(wait_window "Numerella del dieci" "$1")
    xdotool windowactivate --sync "$id" 2>/dev/null || true
    echo "  box $(shot "$2")"
    xdotool key Return
    wait_gone "$1"
}

ends_without_box() {
    for _ in $(seq 1 50); do
        kill -0 "$1" 2>/dev/null || return 0
        [ -z "$(xdotool search --all --onlyvisible --pid "$1" --name '^Numerella del dieci$' 2>/dev/null)" ] ||
            fail "a box came up at the end: $(shot unexpected-box)"
        sleep 0.1
    done
    fail "the game did not end"
}

echo "== 1. Two logins one after the other on the shared record"
reset_shared
start numerella-a Anna "$installed"
echo "  $(xprop -id "$board" WM_CLASS) beside $(basename /usr/share/applications/*Numerella*.desktop)"
answer_right 1
alt_x "$board"
closing_box "$pid" login1-saved
before=$(record "$shared")
[ "$before" = "$(hex 1) $(hex Anna)" ] || fail "first login left $before"
owners=$(stat -c '%U:%G %a' "$shared/tavrec10.txt" "$shared/ntavrec10.txt" | sort -u)
[ "$owners" = "root:_numerella 664" ] || fail "the saved record is $owners, not root:_numerella 664"
echo "  numerella-a (Anna) saved 1: tavrec10.txt ntavrec10.txt = $before, both $owners"
start numerella-b Bruno "$installed"
echo "  second login's board: $(shot login2-board)"
answer_right 1
alt_x "$board"
ends_without_box "$pid"
[ "$(record "$shared")" = "$before" ] || fail "an equal score changed the record to $(record "$shared")"
[ ! -e "$(home numerella-b)/.local/share/numerella-del-dieci" ] || fail "numerella-b got a record of its own"
echo "  numerella-b (Bruno) scored 1 too: no box, the game ended, the record is byte for byte the same"

echo "== 1b. No login can write, lock or delay the record; hostile calls write nothing"
helper=/usr/lib/numerella-del-dieci/numerella-record
as_login() { runuser -u numerella-a -- env -i PATH=/usr/bin:/bin "$@"; }
state() { stat -c '%n %U:%G %a %s' "$shared" "$shared"/* "$shared"/.lock | LC_ALL=C sort; sha256sum "$shared"/*; }
for file in "$shared" "$shared"/*.txt "$shared/journal" "$shared/.lock"; do
    ! as_login sh -c "echo x >>'$file'" 2>/dev/null || fail "a login could write $file"
done
! as_login touch "$shared/new" 2>/dev/null || fail "a login could make a file in $shared"
! as_login flock -n "$shared/.lock" true 2>/dev/null || fail "a login could open the lock"
! as_login flock -n "$shared/journal" true 2>/dev/null || fail "a login could open the journal"
before="$(state)"
hostile() {  # INPUT ARGS...: the helper must refuse and write nothing
    local input="$1" status=0
    shift
    printf '%s' "$input" | as_login "$@" >/dev/null 2>&1 || status=$?
    [ "$status" = 64 ] || fail "the helper answered $status to: $*"
}
hostile Eva "$helper" save 99999 ../../tmp
hostile Eva "$helper" save 1e9
hostile Eva "$helper" save
hostile Eva "$helper" reset
hostile "$(printf 'Eva\nMallory')" "$helper" save 99999
hostile "$(head -c 1001 /dev/zero | tr '\0' a)" "$helper" save 99999
hostile Eva "$helper" save -- 99999
out="$(printf Eva | as_login OMP_DISPLAY_ENV=verbose QT_HASH_SEED=1 MALLOC_CHECK_=3 "$helper" save 0 2>&1)" || true
[ "$out" = "$(printf '3\n1\r\nAnna\r\n')" ] || fail "a hostile environment changed the helper's answer: $out"
status=0
printf Eva | as_login sh -c "ulimit -f 0; exec '$helper' save 99999" >/dev/null 2>&1 || status=$?
[ "$status" != 0 ] || fail "a save under a file-size limit of 0 said it saved"
[ "$(state)" = "$before" ] || fail "hostile calls changed the folder: $(state)"
as_login "$helper" show >/dev/null || fail "show failed after the hostile calls"
[ "$(state)" = "$before" ] || fail "show after the hostile calls changed the folder"
echo "  a login writes, makes and locks nothing there; hostile arguments, input and environment refused"
# A login holding every file of the folder open (read locks where it can
# open them) for 20 s: a save by the other login does not wait for it.
runuser -u numerella-b -- sh -c "exec 3<'$shared/tavrec10.txt' 4<'$shared/ntavrec10.txt' 5<'$shared'; \
    flock -s 3; flock -s 4; sleep 20" >/dev/null 2>&1 &
holder=$!
started+=("$holder")
sleep 1
t0=$(date +%s.%N)
printf Eva | runuser -u numerella-a -- "$helper" save 2 >/dev/null || fail "a save failed while a login held the files"
took=$(elapsed "$t0")
awk -v took="$took" 'BEGIN { exit !(took < 1) }' || fail "a save waited $took s for a login holding the files"
[ "$(record "$shared")" = "$(hex 2) $(hex Eva)" ] || fail "the save under held files left $(record "$shared")"
kill "$holder" 2>/dev/null || true
printf '1\r\n' >"$shared/tavrec10.txt"
printf 'Anna\r\n' >"$shared/ntavrec10.txt"
echo "  a save took $took s while another login held every file open"

# Alt+X again to copy $1 when it shows no box within half a second: the
# other copy's box, coming up in between, can take the first key. The
# caller's $gap then runs from its $t0 to this key.
reexit() {
    for _ in $(seq 1 5); do
        [ -z "$(xdotool search --all --onlyvisible --pid "$1" --name '^Numerella del dieci$' 2>/dev/null)" ] || return 0
        sleep 0.1
    done
    alt_x "$2"
    gap=$(elapsed "$t0")
    echo "  Alt+X pressed again for copy $1"
}

# two_copies FOLDER PROGRAM ORDER: two copies as numerella-a score 1 and 2
# and end with Alt+X together, lower or higher first; shots tagged $4.
two_copies() {
    local folder="$1" program="$2" low_pid low_board high_pid high_board t0 gap
    start numerella-a Uno "$program"
    low_pid=$pid low_board=$board
    answer_right 1
    start numerella-a Due "$program"
    high_pid=$pid high_board=$board
    answer_right 2
    t0=$(date +%s.%N)
    if [ "$3" = low-first ]; then set -- "$@" "$low_pid" "$low_board" "$high_pid" "$high_board"
    else set -- "$@" "$high_pid" "$high_board" "$low_pid" "$low_board"; fi
    # One xdotool for both keys, so the first copy's box has little time to
    # come up in between.
    xdotool windowactivate --sync "$6" key alt+x windowactivate --sync "$8" key alt+x 2>/dev/null || true
    gap=$(elapsed "$t0")
    reexit "$7" "$8"
    reexit "$5" "$6"
    echo "  Alt+X to both, $3, the second key $gap s after the first"
    awk -v gap="$gap" 'BEGIN { exit !(gap < 1) }' || fail "the two copies got Alt+X $gap s apart"
    closing_box "$low_pid" "two-copies-$4-$3-uno"
    closing_box "$high_pid" "two-copies-$4-$3-due"
    [ "$(record "$folder")" = "$(hex 2) $(hex Due)" ] || fail "two copies left $(record "$folder")"
    echo "  the $4 record holds 2 by Due: $(record "$folder")"
}
echo "== 2. Two copies of the game under one login end together"
for order in low-first high-first; do
    reset_shared
    two_copies "$shared" "$installed" "$order" shared
    rm -rf "$(home numerella-a)/.local/share/numerella-del-dieci"
    two_copies "$(home numerella-a)/.local/share/numerella-del-dieci" "$build_tree" "$order" per-login
done

echo "== 3. A FIFO in place of the record file"
per_login="$(home numerella-b)/.local/share/numerella-del-dieci"
mkdir -p "$per_login"
rm -f "$per_login/tavrec10.txt"
mkfifo "$per_login/tavrec10.txt"
chown -R numerella-b: "$(home numerella-b)/.local"
BOX=fifo-per-login start numerella-b Carla "$build_tree"
alt_x "$board"
ends_without_box "$pid"
[ -p "$per_login/tavrec10.txt" ] || fail "the FIFO was replaced"
rm -f "$shared/tavrec10.txt"
mkfifo -m 664 "$shared/tavrec10.txt"
chown root:_numerella "$shared/tavrec10.txt"
BOX=fifo-shared start numerella-b Carla "$installed"
alt_x "$board"
ends_without_box "$pid"
[ -p "$shared/tavrec10.txt" ] || fail "the shared FIFO was replaced"
rm -f "$shared/tavrec10.txt"
install -o root -g _numerella -m 664 /dev/null "$shared/tavrec10.txt"

echo "== 4. An unreadable record survives a game that scores"
# unreadable_survives FOLDER PROGRAM NAME: the score file there is unreadable.
unreadable_survives() {
    local sum
    sum=$(sha256sum "$1/tavrec10.txt" "$1/ntavrec10.txt")
    BOX="unreadable-$3-start" start numerella-b "$3" "$2"
    answer_right 1
    alt_x "$board"
    closing_box "$pid" "unreadable-$3-end"
    [ "$(sha256sum "$1/tavrec10.txt" "$1/ntavrec10.txt")" = "$sum" ] || fail "the unreadable record changed"
    echo "  scored 1; $(stat -c '%U:%G %a %s bytes' "$1/tavrec10.txt"), byte for byte the same"
}
rm -f "$per_login/tavrec10.txt"
printf '7\r\n' >"$per_login/tavrec10.txt"
printf 'Zeta\r\n' >"$per_login/ntavrec10.txt"
chmod 000 "$per_login/tavrec10.txt"
unreadable_survives "$per_login" "$build_tree" Closed
head -c 70000 /dev/zero | tr '\0' 7 >"$per_login/tavrec10.txt"
chmod 664 "$per_login/tavrec10.txt"
chown numerella-b: "$per_login/tavrec10.txt"
unreadable_survives "$per_login" "$build_tree" Huge
printf '7\r\n' >"$shared/tavrec10.txt"
chmod 000 "$shared/tavrec10.txt"
unreadable_survives "$shared" "$installed" Shared
chmod 664 "$shared/tavrec10.txt"
reset_shared
echo "== Records: shared between logins, kept under racing copies, FIFO and unreadable files survive"
