# The pedal's pictures: PNG files drawn by tools/artwork and committed under resources/,
# compiled into the shared code as constant byte arrays (namespace TacetorImageData). Each
# one also comes at twice the size (name_2x.png), for editors shown at more than 100 %.

set(TACETOR_PICTURES
    background.png
    threshold_knob.png
    attack_knob.png
    decay_knob.png
    footswitch.png
    dual_mono_switch.png
    about.png)
list(TRANSFORM TACETOR_PICTURES REPLACE "\\.png$" "_2x.png" OUTPUT_VARIABLE TACETOR_DOUBLE_SIZE_PICTURES)
list(APPEND TACETOR_PICTURES ${TACETOR_DOUBLE_SIZE_PICTURES})
list(TRANSFORM TACETOR_PICTURES PREPEND "${PROJECT_SOURCE_DIR}/resources/")

juce_add_binary_data(PelmoraTacetorImages
    HEADER_NAME TacetorImageData.h
    NAMESPACE TacetorImageData
    SOURCES ${TACETOR_PICTURES})

# JUCE regenerates the arrays only when the list of files changes; a redrawn picture must
# rebuild them too, or the library would keep the old pixels.
add_custom_command(
    OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/juce_binarydata_PelmoraTacetorImages/JuceLibraryCode/BinaryData1.cpp"
    APPEND DEPENDS ${TACETOR_PICTURES})
