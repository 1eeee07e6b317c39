# libFuzzer targets: -DTACETOR_BUILD_FUZZERS=ON with clang, in the AddressSanitizer folder that
# also runs the suite (scripts/instrumented.sh). Everything in that folder, JUCE included, is
# built with coverage feedback, so the fuzzers also explore the framework code our readers call.
# Each tests/fuzz/<Name>Fuzzer.cpp becomes one fuzzer executable <Name>Fuzzer; its seed inputs
# live in tests/fuzz/corpus/<Name>Fuzzer and an optional dictionary in tests/fuzz/<Name>Fuzzer.dict.

option(TACETOR_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)

if(TACETOR_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TACETOR_BUILD_FUZZERS needs clang: configure with CC=clang-14 CXX=clang++-14")
    endif()

    # Without libFuzzer linked in (the tests, the plug-ins) the sanitizer runtime takes the
    # coverage calls and ignores them.
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# Adds the fuzzer executable NAME built from SOURCE, linked against the shared code.
function(tacetor_add_fuzzer name source)
    add_executable(${name} ${source})
    tacetor_use_shared_code(${name})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
