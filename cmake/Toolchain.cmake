# Compiler set-up shared by every target of the project.

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
set(CMAKE_EXPORT_COMPILE_COMMANDS ON)

if(NOT CMAKE_BUILD_TYPE AND NOT CMAKE_CONFIGURATION_TYPES)
    set(CMAKE_BUILD_TYPE Release CACHE STRING "Build type" FORCE)
endif()

find_program(CCACHE_PROGRAM ccache)
if(CCACHE_PROGRAM)
    set(CMAKE_C_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
    set(CMAKE_CXX_COMPILER_LAUNCHER "${CCACHE_PROGRAM}")
endif()

# Sanitizer builds: -DTACETOR_SANITIZE=address,undefined or -DTACETOR_SANITIZE=thread
set(TACETOR_SANITIZE "" CACHE STRING "Comma-separated list of sanitizers to build with")
if(TACETOR_SANITIZE)
    add_compile_options(-fsanitize=${TACETOR_SANITIZE} -fno-omit-frame-pointer -g)
    add_link_options(-fsanitize=${TACETOR_SANITIZE})
    # scripts/sanitize.sh builds RelWithDebInfo, here at -O1, the level the sanitizers'
    # documentation advises: the same reports as at -O3 (which JUCE gives Release builds), with
    # readable stacks.
    set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -g -DNDEBUG")
    set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g -DNDEBUG")
endif()

# Our own sources are held to warnings-as-errors; JUCE's are not, since it is not ours to fix.
# The gate's arithmetic must be reproducible bit for bit, so no fused multiply-adds.
set(TACETOR_STRICT_FLAGS
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
    -Wnon-virtual-dtor -Woverloaded-virtual -Wold-style-cast -Werror
    -ffp-contract=off)

# Applies the strict flags to every source file of TARGET that lies in our tree.
function(tacetor_strict_warnings target)
    get_target_property(sources ${target} SOURCES)
    foreach(source IN LISTS sources)
        get_filename_component(path "${source}" ABSOLUTE)
        if(path MATCHES "^${PROJECT_SOURCE_DIR}/(source|tests|bench|tools)/")
            set_property(SOURCE "${source}" TARGET_DIRECTORY ${target}
                APPEND PROPERTY COMPILE_OPTIONS ${TACETOR_STRICT_FLAGS})
        endif()
    endforeach()
endfunction()
