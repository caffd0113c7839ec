#!/usr/bin/env bash
# Builds the Debian package in a build tree of its own (no tests, no
# benchmarks), shows that it cannot be made without dpkg-shlibdeps or file,
# checks it with lintian and its contents (libraries in Depends, icons,
# sounds under /usr/share, both manual pages), installs it with apt-get,
# plays the installed program through the command of its menu entry and
# checks its launch feedback, plays the shared record as two logins and with
# broken record files (package-check-records.sh), then removes it (the
# records stay) and purges it (the shared record folder goes). Needs root.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PACKAGE_BUILD_DIR:-$root/build-package}"
fail() { echo "PACKAGE CHECK FAIL: $*" >&2; exit 1; }

# It installs and purges the package on this machine: one check at a time.
exec 9>/run/lock/numerella-package-check
flock --nonblock 9 || { echo "== Waiting for another package check to end"; flock 9; }

"$root/scripts/ensure-deps.sh" test
for tool in lintian python3; do
    if ! command -v "$tool" >/dev/null; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$tool" >/dev/null
    fi
done

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNUMERELLA_BUILD_TESTS=OFF -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2
rm -f "$build"/numerella-del-dieci_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/numerella-del-dieci_*.deb)"
echo "== Package: $deb"
dpkg-deb --field "$deb" Package Version Section Depends Recommends Installed-Size

echo "== Without dpkg-shlibdeps or file, the package is not made"
# Each tool is hidden in a mount namespace of its own, under a file that
# cannot be run, so the machine's own copy stays untouched.
blocker="$(mktemp)"
hidden_build="$(mktemp -d)"
trap 'rm -rf "$blocker" "$hidden_build"' EXIT
without() {
    local tool="$1"
    shift
    unshare --mount sh -c 'mount --bind "$0" "$(command -v "$1")" && shift && exec "$@"' \
        "$blocker" "$tool" "$@"
}
for tool in dpkg-shlibdeps file; do
    if without "$tool" cmake -S "$root" -B "$hidden_build/tree" -DNUMERELLA_BUILD_TESTS=OFF \
        -DNUMERELLA_BUILD_BENCHMARKS=OFF >"$hidden_build/configure.log" 2>&1; then
        fail "configure succeeded with $tool missing"
    fi
    grep -q "Cannot make the Debian package: '$tool' is missing" "$hidden_build/configure.log" ||
        fail "configure without $tool did not say why: $(tail -3 "$hidden_build/configure.log")"
    if (cd "$build" && without "$tool" cpack -G DEB -B "$hidden_build/out") >"$hidden_build/cpack.log" 2>&1; then
        fail "cpack made a package with $tool missing"
    fi
    grep -q "Cannot make the Debian package: '$tool' is missing" "$hidden_build/cpack.log" ||
        fail "cpack without $tool did not say why: $(tail -3 "$hidden_build/cpack.log")"
    ! ls "$hidden_build"/out/*.deb >/dev/null 2>&1 || fail "cpack left a package made without $tool"
    rm -rf "$hidden_build/tree"
    said="$(grep -h -m1 'Cannot make' "$hidden_build/cpack.log" | sed 's/^ *//')"
    echo "$tool missing: configure and cpack stop with: $said"
done

echo "== Contents"
depends="$(dpkg-deb --field "$deb" Depends)"
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6; do
    sed 's/, /\n/g' <<<"$depends" | cut -d' ' -f1 | grep -qxF "$library" || fail "Depends lacks $library: $depends"
done
contents="$(dpkg-deb --contents "$deb" | awk '{ print $6 $7 $8 }')"
has() { grep -qxF "$1" <<<"$contents" || fail "the package lacks $1"; }
icons=./usr/share/icons/hicolor
extract="$hidden_build/contents"
dpkg-deb --extract "$deb" "$extract"
for size in 16 22 24 32 48 64 128 256; do
    has "$icons/${size}x${size}/apps/org.numerella.NumerellaDelDieci.png"
    file "$extract/$icons/${size}x${size}/apps/org.numerella.NumerellaDelDieci.png" |
        grep -q ": PNG image data, $size x $size," || fail "the ${size}x${size} icon is not a PNG of that size"
done
has "$icons/scalable/apps/org.numerella.NumerellaDelDieci.svg"
file "$extract/$icons/scalable/apps/org.numerella.NumerellaDelDieci.svg" |
    grep -q 'SVG Scalable Vector Graphics' || fail "the scalable icon is not an SVG"
has ./usr/share/numerella-del-dieci/suoni/Esatto.wav
has ./usr/share/numerella-del-dieci/suoni/no.wav
has "./usr/lib/numerella-del-dieci/suoni->../../share/numerella-del-dieci/suoni"
stray="$(grep '^\./usr/lib/numerella-del-dieci/.' <<<"$contents" |
         grep -vxE '\./usr/lib/numerella-del-dieci/(numerella-del-dieci|numerella-record|suoni->.*)' || true)"
[ -z "$stray" ] || fail "data under /usr/lib: $stray"
for page in man/man6 man/it/man6; do
    has "./usr/share/$page/numerella-del-dieci.6.gz"
    warnings="$(LC_ALL=C.UTF-8 man --warnings -l "$extract/usr/share/$page/numerella-del-dieci.6.gz" 2>&1 >/dev/null)"
    [ -z "$warnings" ] || fail "the manual page in $page has warnings: $warnings"
done
zcat "$extract/usr/share/man/it/man6/numerella-del-dieci.6.gz" | grep -q '^\.SH NOME' ||
    fail "the Italian manual page is not Italian"
entry="$extract/usr/share/applications/org.numerella.NumerellaDelDieci.desktop"
desktop-file-validate --no-hints "$entry" || fail "the desktop entry does not validate"
grep -qx 'StartupNotify=true' "$entry" || fail "the desktop entry asks for no launch feedback"
grep -qE '^Categories=(.*;)?Game;(.*;)?Education;' "$entry" || fail "the desktop entry is not under Game and Education"
echo "Depends has the libraries; icons 16-256 px and SVG; sounds under /usr/share; manual pages in English and Italian"

echo "== lintian"
# Every tag is shown; errors and warnings fail, overrides carry their reason.
lintian --pedantic --info --show-overrides --fail-on error,warning "$deb" ||
    fail "lintian found errors or warnings"
echo "lintian: no errors, no warnings"

dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -q '^\./triggers$' && fail "the package carries ldconfig triggers"
dpkg-deb --info "$deb" postinst | grep -q ldconfig && fail "the postinst calls ldconfig"

export DEBIAN_FRONTEND=noninteractive
# A package left by an earlier, failed check goes first.
if dpkg-query -W numerella-del-dieci >/dev/null 2>&1; then
    apt-get purge -y -qq numerella-del-dieci >/dev/null
fi

echo "== Upgrade from 1.0.0 keeps the record"
# The released 1.0.0 (commit 121db65), built here unless OLD_DEB names it.
old_deb="${OLD_DEB:-}"
if [ -z "$old_deb" ]; then
    old="$build/old-1.0.0"
    rm -rf "$old" && mkdir -p "$old"
    git -C "$root" archive 121db65 | tar -x -C "$old"
    cmake -S "$old" -B "$old/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DNUMERELLA_BUILD_TESTS=OFF -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$old/build" -j2 >/dev/null
    (cd "$old/build" && cpack -G DEB >/dev/null)
    old_deb="$(ls "$old"/build/numerella-del-dieci_1.0.0_*.deb)"
fi
apt-get install -y -qq "$old_deb" >/dev/null
records=/var/games/numerella-del-dieci
printf 'Anna' | /usr/lib/numerella-del-dieci/numerella-record save 5
apt-get install -y -qq "$deb" >/dev/null
[ "$(xxd -p "$records/tavrec10.txt")$(xxd -p "$records/ntavrec10.txt")" = 350d0a416e6e610d0a ] ||
    fail "the upgrade lost the record of 1.0.0"
echo "  1.0.0's record 5 by Anna kept: $(stat -c '%n %U:%G %a' "$records"/* | tr '\n' ' ')"
apt-get purge -y -qq numerella-del-dieci >/dev/null
! getent group _numerella >/dev/null || getent passwd _numerella >/dev/null || fail "purge left the group"
# 1.0.0's system user would keep the group: a fresh install starts without.
userdel _numerella 2>/dev/null || true
groupdel _numerella 2>/dev/null || true

echo "== Fresh install"
apt-get install -y -qq "$deb" >/dev/null

# The menu entry's command as a player's session finds it: Debian puts the
# games folders on every login's PATH (not on root's).
desktop=/usr/share/applications/org.numerella.NumerellaDelDieci.desktop
command="$(sed -n 's/^Exec=//p' "$desktop")"
launcher="$(PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games command -v "$command")"
[ "$launcher" = /usr/games/numerella-del-dieci ] || fail "menu command resolves to '$launcher', not /usr/games"
for program in /usr/lib/numerella-del-dieci/numerella-del-dieci /usr/lib/numerella-del-dieci/numerella-record; do
    file -L "$program" | grep -q ', stripped' || fail "$program is not stripped"
done
"$launcher" --version
"$launcher" --help
status=0
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$launcher" || status=$?
[ "$status" = 1 ] || fail "without a display the game ended with status $status, not 1"
[ -f /usr/lib/numerella-del-dieci/suoni/Esatto.wav ] || fail "the program's folder does not lead to the sounds"
for language in en it; do
    page="$(man -L "$language" -w 6 numerella-del-dieci)"
    case "$language:$page" in
        en:/usr/share/man/man6/numerella-del-dieci.6.gz | it:/usr/share/man/it/man6/numerella-del-dieci.6.gz) ;;
        *) fail "man -L $language finds '$page'" ;;
    esac
done

echo "== Launch feedback: the game ends it when its first window shows"
# As a desktop launches a menu entry with StartupNotify=true: it gives the
# program an id in DESKTOP_STARTUP_ID and waits for "remove: ID=<id>".
mkdir -p "$hidden_build/xdg"
feedback="$(XDG_DATA_HOME="$hidden_build/xdg" xvfb-run -a bash -c '
    timeout 30 python3 "$1/scripts/startup-listener.py" 1 > "$2/startup.log" & listener=$!
    for _ in $(seq 100); do grep -q listening "$2/startup.log" && break; sleep 0.1; done
    DESKTOP_STARTUP_ID=numerella-check_TIME1 "$3" & game=$!
    wait $listener
    kill $game
    tail -n +2 "$2/startup.log"' check "$root" "$hidden_build" "$launcher" 2>/dev/null)"
[ "$feedback" = "remove: ID=numerella-check_TIME1" ] ||
    fail "the game did not end its launch feedback: '$feedback'"
echo "$feedback"

# check_modes: the folder root's alone, the files root:_numerella and not
# the players', the helper setgid (never setuid) and on the C/C++ runtime.
check_modes() {
    local want got
    want="root:root 755 $records
root:_numerella 660 $records/.lock
root:_numerella 660 $records/journal
root:_numerella 664 $records/ntavrec10.txt
root:_numerella 664 $records/tavrec10.txt
root:_numerella 2755 $helper"
    got="$(stat -c '%U:%G %a %n' "$records" "$records"/.lock "$records"/journal "$records"/*.txt "$helper")"
    [ "$got" = "$want" ] || fail "owners and modes are: $got"
    echo "$got" | sed 's/^/  /'
}
helper=/usr/lib/numerella-del-dieci/numerella-record
check_modes
[ ! -s "$records/tavrec10.txt" ] && [ ! -s "$records/ntavrec10.txt" ] || fail "a fresh install has a record"
libraries="$(ldd "$helper" | awk '{print $1}' | sed 's/\.so.*//; s@.*/@@' | LC_ALL=C sort | tr '\n' ' ')"
[ "$libraries" = "ld-linux-x86-64 libc libgcc_s libm libstdc++ linux-vdso " ] || fail "the helper links $libraries"
echo "  the helper links: $libraries"

echo "== Playing the installed program: $launcher"
E2E_RECORDS="$records" "$root/tests/e2e/run.sh" --program "$launcher"

echo "== The record, as two logins and with broken record files"
# -ac: the throwaway logins share root's X server.
RECORD_SHOTS="$build/record-shots" xvfb-run -a -s "-ac -screen 0 1280x800x24" \
    bash "$root/scripts/package-check-records.sh" "$launcher" "$build/numerella-del-dieci"
check_modes

echo "== The teacher's reset"
printf '7\r\n' >"$records/tavrec10.txt"
rm -f "$records/ntavrec10.txt" "$records/journal"
dpkg-reconfigure numerella-del-dieci
[ ! -s "$records/tavrec10.txt" ] && [ ! -s "$records/ntavrec10.txt" ] || fail "dpkg-reconfigure left a record"
check_modes

user_records="${XDG_DATA_HOME:-$HOME/.local/share}/numerella-del-dieci"
mkdir -p "$user_records"
printf '9\r\n' > "$user_records/tavrec10.txt.check"
printf '7\r\n' > "$records/tavrec10.txt"
apt-get remove -y -qq numerella-del-dieci >/dev/null
[ ! -e /usr/games/numerella-del-dieci ] || fail "program left behind after removal"
[ -f "$user_records/tavrec10.txt.check" ] || fail "a player's records were lost with the package"
rm -f "$user_records/tavrec10.txt.check"
[ "$(cat "$records/tavrec10.txt")" = $'7\r' ] || fail "the shared record was lost on a plain remove"
apt-get purge -y -qq numerella-del-dieci >/dev/null
[ ! -e "$records" ] || fail "$records left behind after purge"
echo "== Package passes lintian, installs, plays, removes (records stay) and purges cleanly"
