#!/usr/bin/env bash
# Compares the gate's speed with the stereo gates Linux users already have from Debian:
# installs them (only here, never for the tests), builds our LV2 bundle and the comparison
# program, and runs every gate through JUCE's LV2 host in one process on the same signal.
# Extra arguments go to the program (e.g. --benchmark_repetitions=10).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-"$root/build"}

"$root/scripts/install-deps.sh" --test
"$root/scripts/install-deps.sh" calf-plugins lsp-plugins-lv2 zam-plugins mda-lv2

"$root/scripts/configure.sh" "$build" >/dev/null
cmake --build "$build" --target PelmoraTacetor_LV2 tacetor_compare_gates

# JUCE's LV2 host reads ~/.lv2 and the system folders only: a private home whose ~/.lv2
# links this build's bundle makes it the one loaded, whatever the user has installed.
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/.lv2"
ln -s "$build/PelmoraTacetor_artefacts/Release/LV2/PelmoraTacetor.lv2" "$home/.lv2/"

HOME="$home" "$build/bench/compare-gates/tacetor_compare_gates" --benchmark_repetitions=5 "$@"
