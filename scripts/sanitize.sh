#!/usr/bin/env bash
# Builds the tests with ThreadSanitizer in a folder of their own (default: build-tsan) and runs
# the tests that race host threads (automation, program changes, restores) against the audio
# thread. Any report fails the run.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-tsan"}

"$root/scripts/configure.sh" "$build" -DTACETOR_SANITIZE=thread -DTACETOR_BUILD_BENCHMARKS=OFF
cmake --build "$build" --parallel 2 --target TacetorTests

TSAN_OPTIONS="halt_on_error=1 abort_on_error=1 second_deadlock_stack=1 ${TSAN_OPTIONS:-}" \
    "$build/tests/TacetorTests" --gtest_filter='StateConcurrency.*'
