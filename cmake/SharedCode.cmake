# The shared code in two builds. Our own sources are compiled once (PelmoraTacetorCode) and go
# into both, and so do the JUCE modules, but one:
#  - PelmoraTacetor (made by juce_add_plugin): what the shipped formats link. No plug-in hosting,
#    so the plug-ins carry no host code (nor JUCE's copies of lilv, serd, sord) to export.
#  - PelmoraTacetorHosting: the same plus JUCE's VST3 and LV2 hosting, for the tests, tools and
#    benchmarks, which load the built bundles in-process next to the linked-in processor.
#    juce_audio_processors is the only module that reads the hosting settings, so only it is
#    compiled a second time; every other module's objects are the plug-in build's own.

file(GLOB_RECURSE TACETOR_SOURCES CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/source/*.cpp"
    "${PROJECT_SOURCE_DIR}/source/*.h")
# Each format's entry layer belongs to that format's binary alone (cmake/Formats.cmake).
list(FILTER TACETOR_SOURCES EXCLUDE REGEX "/source/formats/(vst2|standalone)/[^/]*\\.cpp$")
list(FILTER TACETOR_SOURCES EXCLUDE REGEX "/source/formats/vst3/Vst3PluginFactory\\.cpp$")

target_include_directories(PelmoraTacetor PUBLIC "${PROJECT_SOURCE_DIR}/source")
target_compile_options(PelmoraTacetor PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:-isystem;${TACETOR_JUCE_INCLUDES}>")

# Compiled with everything JUCE gives the shared code's own files.
add_library(PelmoraTacetorCode OBJECT ${TACETOR_SOURCES})
set_target_properties(PelmoraTacetorCode PROPERTIES
    POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
target_compile_definitions(PelmoraTacetorCode PRIVATE $<TARGET_PROPERTY:PelmoraTacetor,COMPILE_DEFINITIONS>)
target_include_directories(PelmoraTacetorCode PRIVATE $<TARGET_PROPERTY:PelmoraTacetor,INCLUDE_DIRECTORIES>)
target_compile_options(PelmoraTacetorCode PRIVATE $<TARGET_PROPERTY:PelmoraTacetor,COMPILE_OPTIONS>)
target_link_libraries(PelmoraTacetorCode PRIVATE PelmoraTacetorImages juce::juce_recommended_config_flags)
tacetor_strict_warnings(PelmoraTacetorCode)

# What both builds link besides their objects: the pictures, the codecs and the system libraries
# the JUCE modules need. juce::juce_audio_utils as a plain dependency would also compile every
# module into the target naming it, so here it is a link only.
add_library(PelmoraTacetorLinks INTERFACE)
target_link_libraries(PelmoraTacetorLinks INTERFACE
    PelmoraTacetorImages
    PkgConfig::TACETOR_CODECS
    juce::juce_recommended_config_flags
    $<LINK_ONLY:juce::juce_audio_utils>)

# Debian's JUCE decodes pictures with the system's libpng and libjpeg, which juce_add_plugin
# links to the target it makes; the hosting build needs them too.
if(TARGET juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
    target_link_libraries(PelmoraTacetorLinks INTERFACE $<LINK_ONLY:juce::pkgconfig_JUCE_IMG_LINUX_DEPS>)
endif()

target_sources(PelmoraTacetor PRIVATE $<TARGET_OBJECTS:PelmoraTacetorCode>)
target_link_libraries(PelmoraTacetor PRIVATE juce::juce_audio_utils PUBLIC PelmoraTacetorLinks)

file(GLOB TACETOR_JUCE_PROCESSORS_SOURCES "${TACETOR_JUCE_INCLUDES}/juce_audio_processors/juce_audio_processors*.cpp")
add_library(PelmoraTacetorHosting STATIC
    ${TACETOR_JUCE_PROCESSORS_SOURCES}
    $<TARGET_OBJECTS:PelmoraTacetorCode>
    "$<FILTER:$<TARGET_OBJECTS:PelmoraTacetor>,EXCLUDE,/juce_audio_(processors|plugin_client)/>")
target_link_libraries(PelmoraTacetorHosting PUBLIC PelmoraTacetorLinks)
set_target_properties(PelmoraTacetorHosting PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(PelmoraTacetorHosting PRIVATE $<TARGET_PROPERTY:PelmoraTacetor,INCLUDE_DIRECTORIES>)
target_compile_definitions(PelmoraTacetorHosting PRIVATE
    $<TARGET_PROPERTY:PelmoraTacetor,COMPILE_DEFINITIONS>
    JUCE_PLUGINHOST_VST3=1
    JUCE_PLUGINHOST_LV2=1)
target_compile_options(PelmoraTacetorHosting
    PRIVATE $<TARGET_PROPERTY:PelmoraTacetor,COMPILE_OPTIONS>
    PUBLIC "$<$<COMPILE_LANGUAGE:CXX>:-isystem;${TACETOR_JUCE_INCLUDES}>")

# Lets TARGET (a test, benchmark or tool) use the hosting build of the shared code and JUCE's
# headers the way the format wrappers do: the modules' include paths and settings, but not their
# sources, which are compiled once into the library.
function(tacetor_use_shared_code target)
    target_include_directories(${target} SYSTEM PRIVATE
        $<TARGET_PROPERTY:PelmoraTacetorHosting,INCLUDE_DIRECTORIES>
        "${PROJECT_SOURCE_DIR}/source")
    target_compile_definitions(${target} PRIVATE
        $<TARGET_PROPERTY:PelmoraTacetorHosting,COMPILE_DEFINITIONS>)
    target_link_libraries(${target} PRIVATE PelmoraTacetorHosting)
    tacetor_strict_warnings(${target})
endfunction()
