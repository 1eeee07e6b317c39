#!/usr/bin/env bash
# Builds the libFuzzer targets in the AddressSanitizer folder the suite also uses (build-asan:
# clang, AddressSanitizer, UndefinedBehaviorSanitizer and coverage feedback; see
# scripts/instrumented.sh) and runs each for SECONDS (default 30), starting from its committed
# seed corpus plus what earlier runs in that folder found. A crash, a sanitizer report, a hang or
# a broken invariant fails the run and leaves the input in build-asan/artifacts.
# Usage: scripts/fuzz.sh [SECONDS] [FuzzerName ...]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/instrumented.sh"
seconds=${1:-30}
shift || true

fuzzers=("$@")
if [ ${#fuzzers[@]} -eq 0 ]; then
    for source in "$root"/tests/fuzz/*Fuzzer.cpp; do
        fuzzers+=("$(basename "$source" .cpp)")
    done
fi

configure_instrumented address
cmake --build "$build" --parallel 2 --target "${fuzzers[@]}"

mkdir -p "$build/artifacts"
for name in "${fuzzers[@]}"; do
    work="$build/corpus/$name"
    mkdir -p "$work"
    options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-")
    if [ -f "$root/tests/fuzz/$name.dict" ]; then
        options+=(-dict="$root/tests/fuzz/$name.dict")
    fi

    echo "== $name: $seconds s"
    # New inputs go to the first folder; the committed seeds are only read.
    "$build/tests/fuzz/$name" "${options[@]}" "$work" "$root/tests/fuzz/corpus/$name"
done
