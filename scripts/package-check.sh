#!/usr/bin/env bash
# Builds the Debian package in a build tree of its own (no tests, no
# benchmarks), checks it with lintian, installs it with apt-get, plays the
# installed program through the command of its menu entry, plays the shared
# record as two logins and with broken record files
# (package-check-records.sh), then removes it (the records stay) and purges
# it (the shared record folder goes). Needs root.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${PACKAGE_BUILD_DIR:-$root/build-package}"
fail() { echo "PACKAGE CHECK FAIL: $*" >&2; exit 1; }

"$root/scripts/ensure-deps.sh" test
if ! command -v lintian >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends lintian >/dev/null
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DNUMERELLA_BUILD_TESTS=OFF -DNUMERELLA_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2
rm -f "$build"/numerella-del-dieci_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$(ls "$build"/numerella-del-dieci_*.deb)"
echo "== Package: $deb"
dpkg-deb --field "$deb" Package Version Section Depends Recommends Installed-Size

echo "== lintian"
# Every tag is shown; errors and warnings fail, overrides carry their reason.
lintian --info --show-overrides --fail-on error,warning "$deb" || fail "lintian found errors or warnings"
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
