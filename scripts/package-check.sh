#!/usr/bin/env bash
# Builds the Debian package, installs it with apt-get, plays the installed
# program through the command of its menu entry, removes the package and
# checks that the player's records outlive it. Needs root.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/ensure-deps.sh" test
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" --target numerella-del-dieci -j"$(nproc)"
(cd "$root/build" && cpack -G DEB >/dev/null)
deb="$(ls -t "$root"/build/numerella-del-dieci_*.deb | head -n 1)"
echo "== Package: $deb"
dpkg-deb --field "$deb" Depends

apt-get install -y -qq "$deb" >/dev/null
command="$(sed -n 's/^Exec=//p' /usr/share/applications/org.numerella.NumerellaDelDieci.desktop)"
echo "== Playing the installed program: $(command -v "$command")"
"$root/tests/e2e/run.sh" --program "$(command -v "$command")"

records="${XDG_DATA_HOME:-$HOME/.local/share}/numerella-del-dieci"
mkdir -p "$records"
printf '9\r\n' > "$records/tavrec10.txt.check"
apt-get remove -y -qq numerella-del-dieci >/dev/null
[ ! -e /usr/bin/numerella-del-dieci ] || { echo "program left behind after removal" >&2; exit 1; }
[ -f "$records/tavrec10.txt.check" ] || { echo "records lost with the package" >&2; exit 1; }
rm -f "$records/tavrec10.txt.check"
echo "== Package installs, plays, and removes cleanly; records stay"
