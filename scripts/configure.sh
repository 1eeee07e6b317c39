#!/usr/bin/env bash
# Configures the build folder (default: build) once; later calls reuse it.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build"}
shift || true

# juce_core stamps __DATE__/__TIME__ into its objects; without this ccache never hits.
export CCACHE_SLOPPINESS=${CCACHE_SLOPPINESS:-time_macros,include_file_mtime,include_file_ctime}
export CCACHE_NOHASHDIR=1
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-Release} "$@"
