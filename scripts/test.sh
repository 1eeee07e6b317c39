#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/install-deps.sh"
"$root/scripts/configure.sh" "$build"
cmake --build "$build"
# Editor and window tests need a display; a virtual one serves on a headless machine.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j2

# The same suite under the sanitizers, then a short regression run of every fuzzer.
"$root/scripts/sanitize.sh"
"$root/scripts/fuzz.sh" 30
