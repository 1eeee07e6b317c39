#!/usr/bin/env bash
# Builds the plug-in, its formats and the tests with sanitizers, each kind in a folder of its own,
# and runs the test suite there on a virtual display:
#   address  AddressSanitizer with UndefinedBehaviorSanitizer (build-asan; LeakSanitizer included)
#   thread   ThreadSanitizer (build-tsan)
# Any sanitizer report fails the run.
# Usage: scripts/sanitize.sh [address|thread ...]   (default: both)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(address thread)

# Ardour is a separate, uninstrumented program: a sanitizer runtime cannot be loaded into it
# with our library, so its session check runs in the normal build only. What ships is the normal
# build too: installing and packaging an instrumented one checks nothing more.
excluded='ArdourSession|InstallTree|DebianPackage|UserInstall'

# Reports from code that is not ours are suppressed there, each with its reason.
suppressions="$root/tests/sanitizers"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$suppressions/ubsan.supp"
export ASAN_OPTIONS="detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$suppressions/tsan.supp"

for kind in "${kinds[@]}"; do
    case "$kind" in
        address) build="$root/build-asan" sanitizers=address,undefined ;;
        thread) build="$root/build-tsan" sanitizers=thread ;;
        *) echo "unknown sanitizer kind: $kind (address or thread)" >&2; exit 2 ;;
    esac

    begin=$SECONDS
    echo "== $kind: $sanitizers in $build"
    # RelWithDebInfo builds at -O1, the level sanitizers advise (cmake/Toolchain.cmake).
    BUILD_TYPE=RelWithDebInfo "$root/scripts/configure.sh" "$build" \
        -DTACETOR_SANITIZE="$sanitizers" -DTACETOR_BUILD_BENCHMARKS=OFF
    cmake --build "$build"
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --test-dir "$build" --output-on-failure -j2 --exclude-regex "^($excluded)\$"
    echo "== $kind: $((SECONDS - begin)) s"
done
