#!/usr/bin/env bash
# Builds the Debian package pelmora-tacetor_<version>_amd64.deb from a build folder (default:
# build) into <build>/package, and checks it with lintian, which must report no error.
# Install it with `sudo apt install ./build/package/pelmora-tacetor_1.0.0_amd64.deb`.
# Usage: scripts/package.sh [build folder]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}

[ -f "$build/CMakeCache.txt" ] || "$root/scripts/configure.sh" "$build"
cmake --build "$build" --target PelmoraTacetor_VST PelmoraTacetor_VST3 PelmoraTacetor_LV2 \
    PelmoraTacetor_Standalone tacetor-render tacetor_desktop_files

rm -rf "$build/package"
cpack --config "$build/CPackConfig.cmake" -B "$build/package"
rm -rf "$build/package/_CPack_Packages"
package=$(ls "$build"/package/*.deb)

dpkg-deb --info "$package"
# lintian refuses nothing as root but says so; errors fail the package, warnings are shown.
lintian --fail-on error "$package" 2> /dev/null
echo "package: $package"
