#!/usr/bin/env bash
# Builds the plug-in, its formats and the tests with sanitizers, each kind in a folder of its own
# (the kinds and their folders are in scripts/instrumented.sh), and runs the test suite there on a
# virtual display. Any sanitizer report fails the run.
# Usage: scripts/sanitize.sh [address|thread ...]   (default: both)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/instrumented.sh"
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(address thread)

# Ardour is a separate, uninstrumented program: a sanitizer runtime cannot be loaded into it
# with our library, so its session check runs in the normal build only. What ships is the normal
# build too: installing and packaging an instrumented one, or listing the names it exports (an
# app built by clang exports its sanitizer runtime), checks nothing more.
excluded='ArdourSession|InstallTree|DebianPackage|UserInstall|Exports\..*'

for kind in "${kinds[@]}"; do
    begin=$SECONDS
    echo "== $kind"
    configure_instrumented "$kind"
    cmake --build "$build"
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "$build" --output-on-failure -j2 --exclude-regex "^($excluded)\$"
    echo "== $kind: $((SECONDS - begin)) s"
done
