# Sourced by scripts/sanitize.sh and scripts/fuzz.sh: the instrumented build folders and what
# the sanitizer runtimes are told, kept in one place so both scripts share one folder.
#   address  clang-14, AddressSanitizer and UndefinedBehaviorSanitizer (LeakSanitizer included),
#            with coverage feedback: the suite and the fuzzers (build-asan)
#   thread   gcc, ThreadSanitizer (build-tsan)

# Reports from code that is not ours are suppressed, each with its reason in its file. Any other
# report stops the process, so a test fails and a fuzzer keeps the input that caused it.
suppressions="$root/tests/sanitizers"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$suppressions/ubsan.supp"
export ASAN_OPTIONS="detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$suppressions/lsan.supp:print_suppressions=0"
# ThreadSanitizer matches a suppression against both sides of a race; with its default history it
# sometimes loses the older side's stack and then reports a suppressed race (4 in 15 runs of the
# VST3 stress test; 0 in 55 with the longest history).
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:history_size=7:suppressions=$suppressions/tsan.supp"

# Configures the folder for KIND (address or thread) and sets `build` to its path.
configure_instrumented() {
    local kind=$1 options
    case "$kind" in
        # One AddressSanitizer folder serves the suite and the fuzzers, which need clang; clang
        # also compiles with these sanitizers in about 60 % of gcc's time.
        address)
            build="$root/build-asan"
            options=(-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
                     -DTACETOR_SANITIZE=address,undefined -DTACETOR_BUILD_FUZZERS=ON) ;;
        thread)
            build="$root/build-tsan"
            options=(-DTACETOR_SANITIZE=thread) ;;
        *) echo "unknown sanitizer kind: $kind (address or thread)" >&2; return 2 ;;
    esac
    # RelWithDebInfo is -O1 with debug lines here (cmake/Toolchain.cmake).
    BUILD_TYPE=RelWithDebInfo "$root/scripts/configure.sh" "$build" "${options[@]}" \
        -DBUILD_TESTING=ON -DTACETOR_BUILD_BENCHMARKS=OFF
}
