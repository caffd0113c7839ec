#!/usr/bin/env bash
# Installs the Debian packages the game needs, when they are missing.
#   ensure-deps.sh play   what building and playing need
#   ensure-deps.sh test   that, plus what the whole test suite needs
# As root it installs with apt-get; otherwise it prints the one command to
# run and stops.
set -euo pipefail

play_packages=(cmake g++ make pkgconf qt6-base-dev libcanberra-dev libasound2-dev fonts-liberation2
               qt6-translations-l10n)
# The package's Depends comes from dpkg-shlibdeps, which CPack runs with file.
play_packages+=(dpkg-dev file)
test_packages=(xvfb xauth openbox xdotool imagemagick clang libclang-rt-14-dev
               valgrind desktop-file-utils appstream xxd x11-utils
               qt6-multimedia-dev pulseaudio pulseaudio-utils libasound2-plugins sox bc)

wanted=("${play_packages[@]}")
if [ "${1:-play}" = "test" ]; then
    wanted+=("${test_packages[@]}")
fi

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Mancano alcuni pacchetti (missing packages). Install them with:" >&2
    echo "    sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    echo "then run this command again." >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
