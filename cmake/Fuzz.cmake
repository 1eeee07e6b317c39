# libFuzzer targets: -DTACETOR_BUILD_FUZZERS=ON in a build folder of their own, configured with
# clang (scripts/fuzz.sh does both). Everything in that folder, JUCE included, is built with
# coverage feedback, so the fuzzers also explore the framework code our readers call.
# Each tests/fuzz/<Name>Fuzzer.cpp becomes one fuzzer executable <Name>Fuzzer; its seed inputs
# live in tests/fuzz/corpus/<Name>Fuzzer and an optional dictionary in tests/fuzz/<Name>Fuzzer.dict.

option(TACETOR_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)

if(TACETOR_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TACETOR_BUILD_FUZZERS needs clang: configure with CC=clang-14 CXX=clang++-14")
    endif()

    # Undefined behaviour must stop the run, or the fuzzer would not count it as a finding.
    add_compile_options(-fsanitize=fuzzer-no-link -fno-sanitize-recover=all)
endif()

# Adds the fuzzer executable NAME built from SOURCE, linked against the shared code.
function(tacetor_add_fuzzer name source)
    add_executable(${name} ${source})
    tacetor_use_shared_code(${name})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
