# What each shipped format adds to JUCE's wrapper: our entry layer in front of JUCE's, the one
# JUCE source it builds patched (cmake/JucePatches.cmake), and the list of symbols it exports.

# clang links a sanitizer's runtime into each executable, not into the libraries: a plug-in built
# with one finds it in the instrumented host that loads it, and an app must export it to the
# libraries it loads (ALSA, X11), or they would allocate with the C library what instrumented
# code frees. Such builds never ship.
if(TACETOR_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    set(TACETOR_RUNTIME_IN_EXECUTABLE ON)
endif()

# Lets TARGET's library or executable export only what MAP (a linker version script) names.
# In a plug-in, the names of a runtime it finds in its host are left undefined (JUCE asks for
# none); an executable keeps exporting such a runtime.
function(tacetor_export_only target map)
    get_target_property(type ${target} TYPE)
    if(TACETOR_RUNTIME_IN_EXECUTABLE AND type STREQUAL "EXECUTABLE")
        return()
    elseif(TACETOR_RUNTIME_IN_EXECUTABLE)
        target_link_options(${target} PRIVATE "-Wl,-z,undefs")
    endif()
    if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
        target_link_options(${target} PRIVATE "-Wl,--version-script=${map}")
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${map}")
    endif()
endfunction()

# VST 2.4: the entry point is ours; it renames JUCE's and sits in front of it.
set_source_files_properties(
    "${JUCE_MODULES_DIR}/juce_audio_plugin_client/juce_audio_plugin_client_VST2.cpp"
    TARGET_DIRECTORY PelmoraTacetor_VST
    PROPERTIES COMPILE_DEFINITIONS "VSTPluginMain=tacetorJuceVSTPluginMain")
target_sources(PelmoraTacetor_VST PRIVATE "${PROJECT_SOURCE_DIR}/source/formats/vst2/Vst2PluginMain.cpp")
tacetor_export_only(PelmoraTacetor_VST "${PROJECT_SOURCE_DIR}/source/formats/vst2/exports.map")
tacetor_strict_warnings(PelmoraTacetor_VST)

# VST3: the factory is ours too: it checks host-supplied state before JUCE's wrapper reads it,
# and leaves everything else to JUCE's factory behind it.
set_source_files_properties(
    "${JUCE_MODULES_DIR}/juce_audio_plugin_client/juce_audio_plugin_client_VST3.cpp"
    TARGET_DIRECTORY PelmoraTacetor_VST3
    PROPERTIES COMPILE_DEFINITIONS "GetPluginFactory=tacetorJuceGetPluginFactory")
target_sources(PelmoraTacetor_VST3 PRIVATE "${PROJECT_SOURCE_DIR}/source/formats/vst3/Vst3PluginFactory.cpp")
target_include_directories(PelmoraTacetor_VST3 SYSTEM PRIVATE
    $<TARGET_PROPERTY:juce::juce_vst3_headers,INTERFACE_INCLUDE_DIRECTORIES>)
# JUCE 7.0.5's wrapper copies each bus's channel map, vector and all, in every process() call:
# an allocation and a free on the audio thread. Only this target sees the copy that takes it by
# reference; it is found before the installed header of the same name.
tacetor_patch_juce_file(TACETOR_VST3_COMMON
    "juce_audio_processors/format_types/juce_VST3Common.h"
    "const auto mapping = map[busIndex];"
    "const auto& mapping = map[busIndex];")
target_include_directories(PelmoraTacetor_VST3 BEFORE PRIVATE "${TACETOR_VST3_COMMON_ROOT}")
tacetor_export_only(PelmoraTacetor_VST3 "${PROJECT_SOURCE_DIR}/source/formats/vst3/exports.map")
tacetor_strict_warnings(PelmoraTacetor_VST3)

# LV2: JUCE 7.0.5's run() resizes its buffer to each block keeping the contents, which reallocates
# whenever a block is longer than the one before; the patched copy resizes within what prepare
# allocated for the longest block.
tacetor_patch_juce_file(TACETOR_LV2_CLIENT
    "juce_audio_plugin_client/LV2/juce_LV2_Client.cpp"
    "audio.setSize (audio.getNumChannels(), static_cast<int> (numSteps), true, false, true);"
    "audio.setSize (audio.getNumChannels(), static_cast<int> (numSteps), false, false, true);")
set_source_files_properties(
    "${JUCE_MODULES_DIR}/juce_audio_plugin_client/juce_audio_plugin_client_LV2.cpp"
    TARGET_DIRECTORY PelmoraTacetor_LV2
    PROPERTIES HEADER_FILE_ONLY TRUE)
target_sources(PelmoraTacetor_LV2 PRIVATE "${TACETOR_LV2_CLIENT}")
tacetor_export_only(PelmoraTacetor_LV2 "${PROJECT_SOURCE_DIR}/source/formats/lv2/exports.map")

# JUCE writes the maker's e-mail address into the LV2 description as a bare IRI, which hosts
# resolve to a file inside the bundle; turn it into a mailto: address after JUCE writes it.
if(UNIX)
    add_custom_command(TARGET PelmoraTacetor_LV2 POST_BUILD
        COMMAND sed -i "s|foaf:mbox <\\([^:>]*\\)>|foaf:mbox <mailto:\\1>|"
                "$<TARGET_FILE_DIR:PelmoraTacetor_LV2>/dsp.ttl"
        VERBATIM)
endif()

# Standalone: our own application and window, built on JUCE's (source/formats/standalone), with a
# notice while no audio device is open. On Linux our own main starts the app: it refuses to start
# without a display and closes the app on SIGTERM and SIGINT as its window's close button does.
# Both are X11 and POSIX matters: elsewhere JUCE's own main starts it.
set(TACETOR_STANDALONE_DIR "${PROJECT_SOURCE_DIR}/source/formats/standalone")
target_compile_definitions(PelmoraTacetor_Standalone PRIVATE JUCE_USE_CUSTOM_PLUGIN_STANDALONE_APP=1)
target_sources(PelmoraTacetor_Standalone PRIVATE
    "${TACETOR_STANDALONE_DIR}/AudioDeviceNotice.cpp"
    "${TACETOR_STANDALONE_DIR}/TacetorStandaloneApp.cpp"
    "${TACETOR_STANDALONE_DIR}/TacetorStandaloneWindow.cpp")
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    find_package(X11 REQUIRED)
    target_sources(PelmoraTacetor_Standalone PRIVATE
        "${TACETOR_STANDALONE_DIR}/StandaloneMain.cpp"
        "${TACETOR_STANDALONE_DIR}/StandaloneSignals.cpp")
    target_compile_definitions(PelmoraTacetor_Standalone PRIVATE JUCE_USE_CUSTOM_PLUGIN_STANDALONE_ENTRYPOINT=1)
    target_link_libraries(PelmoraTacetor_Standalone PRIVATE X11::X11)
    # Position-independent code reaches the C and C++ libraries' data through the GOT, so the
    # app needs no copies of it (copy relocations) that it would have to export.
    target_compile_options(PelmoraTacetor_Standalone PRIVATE -fPIC)
endif()
tacetor_strict_warnings(PelmoraTacetor_Standalone)
tacetor_export_only(PelmoraTacetor_Standalone "${TACETOR_STANDALONE_DIR}/exports.map")
