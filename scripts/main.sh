#!/usr/bin/env bash
# The main job on a fresh Debian 12 machine: installs the dependencies, builds every plug-in
# format and installs them for this user (~/.vst3, ~/.lv2, ~/.local/bin), then shows the
# installed VST3 at work without a DAW, sound card or display: a synthesised guitar phrase
# with hum and hiss, gated, written as WAV files and a picture into build/demo.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"

"$root/scripts/install-deps.sh"
"$root/scripts/configure.sh" "$build" -DBUILD_TESTING=OFF -DTACETOR_BUILD_BENCHMARKS=OFF
cmake --build "$build" --target install-plugins
"$HOME/.local/bin/tacetor-render" --demo "$build/demo" --plugin "$HOME/.vst3/PelmoraTacetor.vst3"
