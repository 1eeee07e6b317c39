# The plug-in: identity constants, formats, and the one static shared-code library
# (our sources plus the JUCE modules) that the formats, tests, benchmarks and tools link.

set(TACETOR_COMPANY_WEBSITE "https://www.orvane.com")

# VST 2.4 builds on our own declaration of that binary interface (source/formats/vst2); the
# VST3 wrapper finds its bank-chunk header there too.
juce_set_vst2_sdk_path("${PROJECT_SOURCE_DIR}/source/formats/vst2")

juce_add_plugin(PelmoraTacetor
    PRODUCT_NAME "PelmoraTacetor"            # file and bundle names
    PLUGIN_NAME "Pelmora Tacetor"            # what hosts display
    DESCRIPTION "Tacetor"
    VERSION "${PROJECT_VERSION}"
    COMPANY_NAME "Orvane"
    COMPANY_WEBSITE "${TACETOR_COMPANY_WEBSITE}"
    COMPANY_EMAIL "support@orvane.com"
    PLUGIN_MANUFACTURER_CODE ORV_
    PLUGIN_CODE Otct
    FORMATS VST VST3 LV2 Standalone
    IS_SYNTH FALSE
    NEEDS_MIDI_INPUT FALSE
    NEEDS_MIDI_OUTPUT FALSE
    IS_MIDI_EFFECT FALSE
    EDITOR_WANTS_KEYBOARD_FOCUS FALSE
    VST3_CATEGORIES Fx
    VST2_CATEGORY kPlugCategEffect
    AAX_IDENTIFIER com.orvane.PelmoraTacetor
    AAX_CATEGORY ePlugInCategory_Dynamics  # JUCE turns it into 2
    COPY_PLUGIN_AFTER_BUILD FALSE)

file(GLOB_RECURSE TACETOR_SOURCES CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/source/*.cpp"
    "${PROJECT_SOURCE_DIR}/source/*.h")
# The VST2 and VST3 entry points belong to their own libraries alone (below).
list(FILTER TACETOR_SOURCES EXCLUDE REGEX "/source/formats/vst2/[^/]*\\.cpp$")
list(FILTER TACETOR_SOURCES EXCLUDE REGEX "/source/formats/vst3/Vst3PluginFactory\\.cpp$")
target_sources(PelmoraTacetor PRIVATE ${TACETOR_SOURCES})
target_include_directories(PelmoraTacetor PUBLIC "${PROJECT_SOURCE_DIR}/source")

# The VST2 library's entry point is ours: it renames JUCE's and sits in front of it, and the
# library exports nothing else.
set_source_files_properties(
    "${JUCE_MODULES_DIR}/juce_audio_plugin_client/juce_audio_plugin_client_VST2.cpp"
    TARGET_DIRECTORY PelmoraTacetor_VST
    PROPERTIES COMPILE_DEFINITIONS "VSTPluginMain=tacetorJuceVSTPluginMain")
target_sources(PelmoraTacetor_VST PRIVATE "${PROJECT_SOURCE_DIR}/source/formats/vst2/Vst2PluginMain.cpp")
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_link_options(PelmoraTacetor_VST PRIVATE
        "-Wl,--version-script=${PROJECT_SOURCE_DIR}/source/formats/vst2/exports.map")
    set_property(TARGET PelmoraTacetor_VST APPEND PROPERTY
        LINK_DEPENDS "${PROJECT_SOURCE_DIR}/source/formats/vst2/exports.map")
endif()
tacetor_strict_warnings(PelmoraTacetor_VST)

# The VST3 bundle's entry point is ours too: it checks host-supplied state before JUCE's
# wrapper reads it, and leaves everything else to JUCE's factory behind it.
set_source_files_properties(
    "${JUCE_MODULES_DIR}/juce_audio_plugin_client/juce_audio_plugin_client_VST3.cpp"
    TARGET_DIRECTORY PelmoraTacetor_VST3
    PROPERTIES COMPILE_DEFINITIONS "GetPluginFactory=tacetorJuceGetPluginFactory")
target_sources(PelmoraTacetor_VST3 PRIVATE "${PROJECT_SOURCE_DIR}/source/formats/vst3/Vst3PluginFactory.cpp")
target_include_directories(PelmoraTacetor_VST3 SYSTEM PRIVATE
    $<TARGET_PROPERTY:juce::juce_vst3_headers,INTERFACE_INCLUDE_DIRECTORIES>)
tacetor_strict_warnings(PelmoraTacetor_VST3)

target_compile_definitions(PelmoraTacetor
    PUBLIC
        # Debian's JUCE ignores the LV2URI argument, and the wrappers compile in their own
        # targets, so both travel as public definitions.
        JucePlugin_LV2URI="${TACETOR_COMPANY_WEBSITE}/plugins/PelmoraTacetor"
        "JucePlugin_PreferredChannelConfigurations={2,2},{1,1}"
        JUCE_VST3_CAN_REPLACE_VST2=1
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_MODAL_LOOPS_PERMITTED=1
        # Tests, the renderer and the stress tools load the built bundles in-process next
        # to the linked-in processor, so the one copy of JUCE carries the hosting code.
        JUCE_PLUGINHOST_VST3=1
        JUCE_PLUGINHOST_LV2=1
        # VST3 parameter IDs are the indices 0..4; LV2 uses getParameterID (the host names).
        JUCE_FORCE_USE_LEGACY_PARAM_IDS=1
        JUCE_STRICT_REFCOUNTEDPOINTER=1)

# Debian builds JUCE's audio formats against the system codecs (the renderer reads and
# writes FLAC), so the shared code brings them along.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TACETOR_CODECS REQUIRED IMPORTED_TARGET flac vorbisenc vorbisfile vorbis ogg)

target_link_libraries(PelmoraTacetor
    PRIVATE
        juce::juce_audio_utils
    PUBLIC
        PkgConfig::TACETOR_CODECS
        juce::juce_recommended_config_flags)

# JUCE's headers are not ours: keep their warnings out of our warnings-as-errors.
get_target_property(TACETOR_JUCE_INCLUDES juce::juce_core INTERFACE_INCLUDE_DIRECTORIES)
target_compile_options(PelmoraTacetor PUBLIC
    "$<$<COMPILE_LANGUAGE:CXX>:-isystem;${TACETOR_JUCE_INCLUDES}>")

tacetor_strict_warnings(PelmoraTacetor)

# Lets TARGET (a test, benchmark or tool) use the shared code and JUCE's headers the way the
# format wrappers do: the modules' include paths and settings, but not their sources, which
# are compiled once into the shared-code library.
function(tacetor_use_shared_code target)
    target_include_directories(${target} SYSTEM PRIVATE
        $<TARGET_PROPERTY:PelmoraTacetor,INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE
        $<TARGET_PROPERTY:PelmoraTacetor,COMPILE_DEFINITIONS>)
    target_link_libraries(${target} PRIVATE PelmoraTacetor)
    tacetor_strict_warnings(${target})
endfunction()

# JUCE writes the maker's e-mail address into the LV2 description as a bare IRI, which hosts
# resolve to a file inside the bundle; turn it into a mailto: address after JUCE writes it.
if(UNIX)
    add_custom_command(TARGET PelmoraTacetor_LV2 POST_BUILD
        COMMAND sed -i "s|foaf:mbox <\\([^:>]*\\)>|foaf:mbox <mailto:\\1>|"
                "$<TARGET_FILE_DIR:PelmoraTacetor_LV2>/dsp.ttl"
        VERBATIM)
endif()
