#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: installs the dependencies, builds every plug-in
# format and installs them for this user (~/.vst3, ~/.lv2, ~/.local/bin).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/install-deps.sh"
"$root/scripts/configure.sh" "$build"
cmake --build "$build" --target install-plugins
