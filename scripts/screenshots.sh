#!/usr/bin/env bash
# Regenerates the pedal's screenshots: the Standalone app, the VST3 editor in JUCE's own
# host and the editor at a host's scale of 200 %, each on a virtual display, worked with the
# real pointer by the tests that check them pixel for pixel. All shots land in the output
# folder (default build/screenshots); the ones the README shows are copied into docs/.
# Usage: scripts/screenshots.sh [output folder]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
out=$(realpath -m "${1:-$build/screenshots}")

[ -f "$build/CMakeCache.txt" ] || "$root/scripts/configure.sh" "$build"
cmake --build "$build" --target TacetorTests -j2
mkdir -p "$out" "$root/docs"

# 24-bit colour, so that the display holds the pictures' pixels exactly.
TACETOR_SCREENSHOT_DIR="$out" xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
    "$build/tests/TacetorTests" --gtest_filter='StandaloneApp.*:EditorInHost.*:EditorInWindow.AtAHostsScaleOfTwo*'

cp "$out/standalone-pedal.png" "$out/standalone-about.png" "$out/standalone-knob-turned.png" \
    "$out/pedal-200-percent.png" "$root/docs/"
ls "$out"
