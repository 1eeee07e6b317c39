# Patched copies of JUCE sources, made at configure time from the installed JUCE.
#
# tacetor_patch_juce_file(VAR RELATIVE_PATH ORIGINAL REPLACEMENT) copies
# ${JUCE_MODULES_DIR}/RELATIVE_PATH to ${PROJECT_BINARY_DIR}/juce-patched/<VAR>/RELATIVE_PATH with
# the one occurrence of ORIGINAL replaced, and sets VAR to the copy and VAR_ROOT to the folder
# that stands in for the modules folder. The configure fails when ORIGINAL is not found exactly
# once, so that a JUCE update that moved or fixed the line cannot silently build the unpatched
# code; the copy is redone whenever the installed file changes.
function(tacetor_patch_juce_file var relative_path original replacement)
    set(source "${JUCE_MODULES_DIR}/${relative_path}")
    set(root "${PROJECT_BINARY_DIR}/juce-patched/${var}")
    set(patched "${root}/${relative_path}")

    if(NOT EXISTS "${source}")
        message(FATAL_ERROR "JUCE patch: ${source} does not exist; this JUCE is not the one the patch was made for")
    endif()

    file(READ "${source}" text)
    string(REPLACE "${original}" "" without "${text}")
    string(LENGTH "${text}" length)
    string(LENGTH "${without}" lengthWithout)
    string(LENGTH "${original}" originalLength)
    math(EXPR occurrences "(${length} - ${lengthWithout}) / ${originalLength}")

    if(NOT occurrences EQUAL 1)
        message(FATAL_ERROR "JUCE patch: expected the line\n    ${original}\nexactly once in ${source}, "
                            "found it ${occurrences} times. Check whether this JUCE still needs the patch "
                            "and update cmake/Formats.cmake.")
    endif()

    string(REPLACE "${original}" "${replacement}" text "${text}")

    # Rewritten only when it changes, so a new configure does not rebuild the wrapper.
    file(WRITE "${patched}.new" "${text}")
    file(COPY_FILE "${patched}.new" "${patched}" ONLY_IF_DIFFERENT)
    file(REMOVE "${patched}.new")
    set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")

    set(${var} "${patched}" PARENT_SCOPE)
    set(${var}_ROOT "${root}" PARENT_SCOPE)
endfunction()
