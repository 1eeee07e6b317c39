#!/usr/bin/env bash
# Formats every tracked C++ file with the repository's .clang-format (the JUCE look).
# With --check, changes nothing and fails, naming the files, when one is not formatted.
# Usage: scripts/format.sh [--check]
set -euo pipefail

cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')

if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
else
    clang-format -i "${files[@]}"
fi
