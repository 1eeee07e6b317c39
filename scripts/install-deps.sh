#!/usr/bin/env bash
# Installs everything the build, the tests and the tools need on a fresh Debian 12 machine.
# Given package names, installs those instead (bench/compare-gates.sh brings in other gates).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config ccache
    juce-modules-source libxcursor-dev libx11-dev libflac-dev libvorbis-dev libogg-dev libsndfile1-dev
    libgtest-dev libbenchmark-dev
    lilv-utils serdi ardour xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core
    libpng-dev fonts-dejavu-extra fonts-bebas-neue fonts-lobstertwo fonts-league-spartan
    clang-14 libclang-rt-14-dev locales
    libjack-jackd2-dev dpkg-dev file
    lintian desktop-file-utils lv2-dev jackd2
)

if [ $# -gt 0 ]; then
    packages=("$@")
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
