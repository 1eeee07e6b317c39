# The Standalone app's audio: JUCE's ALSA backend, and its JACK backend, which JUCE opens from
# libjack.so.0 at run time (nothing is linked, and the app still starts without JACK installed).
# Only JUCE's device module needs to know: it is compiled with JACK support, and needs the JACK
# headers for that (Debian's libjack-jackd2-dev).
find_path(TACETOR_JACK_INCLUDE_DIR jack/jack.h)
if(NOT TACETOR_JACK_INCLUDE_DIR)
    message(FATAL_ERROR "The JACK headers (jack/jack.h) are missing: install libjack-jackd2-dev (scripts/install-deps.sh)")
endif()

# A source file's properties belong to the folder its targets are made in, which both builds of
# the shared code share (cmake/SharedCode.cmake): the app's PelmoraTacetor and the tests' and
# tools' PelmoraTacetorHosting compile the module alike.
set_property(SOURCE "${JUCE_MODULES_DIR}/juce_audio_devices/juce_audio_devices.cpp"
    TARGET_DIRECTORY PelmoraTacetor
    APPEND PROPERTY COMPILE_DEFINITIONS JUCE_JACK=1)
