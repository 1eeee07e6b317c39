#!/usr/bin/env bash
# Installs the dependencies, builds everything and runs every test.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/install-deps.sh"
"$root/scripts/configure.sh" "$build"
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure -j2
