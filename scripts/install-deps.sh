#!/usr/bin/env bash
# Installs with apt-get (as root, or through sudo) what this project needs on Debian 12.
#   install-deps.sh           what building, installing and running need (the main job)
#   install-deps.sh --test    that, plus what the tests and benchmarks need
#   install-deps.sh PKG ...   the packages named (bench/compare-gates.sh brings in other gates)
set -euo pipefail

# Building and running: the compilers, Debian's JUCE and the libraries its modules use, the
# codecs the renderer reads and writes, the fonts the pictures and icons are drawn with, JACK
# for the Standalone app, and dpkg-dev/file for the Debian package's dependencies.
build_packages=(
    cmake ninja-build g++ pkg-config ccache
    juce-modules-source libxcursor-dev libx11-dev libpng-dev
    libflac-dev libvorbis-dev libogg-dev libsndfile1-dev
    fonts-dejavu-core fonts-dejavu-extra fonts-bebas-neue fonts-lobstertwo fonts-league-spartan
    libjack-jackd2-dev dpkg-dev file
)

# Testing only: GoogleTest and Google Benchmark; the hosts and validators the built bundles
# meet (Ardour 7, lilv and serd tools, LV2 headers, lintian, desktop-file-utils, a JACK server);
# a virtual display with pointer and screenshot tools for the window tests; clang with its
# sanitizer runtimes for the fuzzers; clang-format for the formatting check; locales for the
# decimal-comma check.
test_packages=(
    libgtest-dev libbenchmark-dev
    ardour lilv-utils serdi lv2-dev lintian desktop-file-utils jackd2
    xvfb xauth x11-utils xdotool imagemagick
    clang-14 libclang-rt-14-dev clang-format locales
)

case "${1:-}" in
    "") packages=("${build_packages[@]}") ;;
    --test) packages=("${build_packages[@]}" "${test_packages[@]}") ;;
    *) packages=("$@") ;;
esac

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    "${sudo_cmd[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi
