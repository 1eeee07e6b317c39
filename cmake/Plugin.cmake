# The plug-in's identity and formats, and the JUCE settings every build of the shared code
# shares (cmake/SharedCode.cmake adds the code, cmake/Formats.cmake each format's own parts).

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

# PelmoraTacetor is the shared code the shipped formats link: no plug-in hosting in it. The
# definitions are public because every format wrapper compiles in a target of its own.
target_compile_definitions(PelmoraTacetor
    PUBLIC
        # Debian's JUCE ignores the LV2URI argument, so the URI travels as a definition.
        JucePlugin_LV2URI="${TACETOR_COMPANY_WEBSITE}/plugins/PelmoraTacetor"
        "JucePlugin_PreferredChannelConfigurations={2,2},{1,1}"
        JUCE_VST3_CAN_REPLACE_VST2=1
        JUCE_WEB_BROWSER=0
        JUCE_USE_CURL=0
        JUCE_DISPLAY_SPLASH_SCREEN=0
        JUCE_REPORT_APP_USAGE=0
        JUCE_MODAL_LOOPS_PERMITTED=1
        # VST3 parameter IDs are the indices 0..4; LV2 uses getParameterID (the host names).
        JUCE_FORCE_USE_LEGACY_PARAM_IDS=1
        JUCE_STRICT_REFCOUNTEDPOINTER=1)

# Debian builds JUCE's audio formats against the system codecs (the renderer reads and
# writes FLAC), so every build of the shared code brings them along.
find_package(PkgConfig REQUIRED)
pkg_check_modules(TACETOR_CODECS REQUIRED IMPORTED_TARGET flac vorbisenc vorbisfile vorbis ogg)

# JUCE's headers are not ours: keep their warnings out of our warnings-as-errors.
get_target_property(TACETOR_JUCE_INCLUDES juce::juce_core INTERFACE_INCLUDE_DIRECTORIES)
