#!/usr/bin/env bash
# The test command: installs what building and testing need, checks the formatting, builds
# everything and runs every test: the normal suite (unit, host and window tests on a virtual
# display), the suite again under the sanitizers, and a short run of every fuzzer. Each stage
# prints how long it took; any failure stops the run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
started=$SECONDS

stage() {
    local name=$1 begin=$SECONDS
    shift
    echo "== $name"
    "$@"
    echo "== $name: $((SECONDS - begin)) s (total $((SECONDS - started)) s)"
}

suite() {
    # Every entry must say what it needs, or `ctest -L` would silently leave it out.
    local unlabelled
    unlabelled=$(ctest --test-dir "$build" -N -LE '^(unit|host|window)$' | sed -n 's/^Total Tests: //p')
    if [ "$unlabelled" != 0 ]; then
        ctest --test-dir "$build" -N -LE '^(unit|host|window)$'
        echo "$unlabelled test(s) carry none of the labels unit, host, window" >&2
        return 1
    fi
    # Window tests need a display; a virtual one serves on a headless machine. Without
    # -noreset Xvfb resets whenever its last client leaves, and a client connecting meanwhile
    # (the next test's window, a pointer tool) loses its connection and dies of SIGPIPE.
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --test-dir "$build" --output-on-failure -j2
}

stage "dependencies" "$root/scripts/install-deps.sh" --test
stage "formatting" "$root/scripts/format.sh" --check
stage "configure" "$root/scripts/configure.sh" "$build" -DBUILD_TESTING=ON -DTACETOR_BUILD_BENCHMARKS=ON
stage "build" cmake --build "$build"
stage "suite" suite
stage "sanitizers" "$root/scripts/sanitize.sh"
stage "fuzzers" "$root/scripts/fuzz.sh" 30
echo "== all stages passed in $((SECONDS - started)) s"
