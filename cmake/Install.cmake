# `cmake --build build --target install-plugins` copies the formats to the user's plug-in
# folders, where hosts look for them: ~/.vst (VST 2.4), ~/.vst3, ~/.lv2, and ~/.local/bin for
# the app and the command-line renderer.


add_custom_target(install-plugins
    COMMAND "${CMAKE_COMMAND}" -E make_directory "$ENV{HOME}/.vst" "$ENV{HOME}/.vst3" "$ENV{HOME}/.lv2" "$ENV{HOME}/.local/bin"
    COMMAND "${CMAKE_COMMAND}" -E rm -rf "$ENV{HOME}/.vst3/PelmoraTacetor.vst3" "$ENV{HOME}/.lv2/PelmoraTacetor.lv2"
    COMMAND "${CMAKE_COMMAND}" -E copy
            "$<TARGET_FILE:PelmoraTacetor_VST>" "$ENV{HOME}/.vst/PelmoraTacetor.so"
    COMMAND "${CMAKE_COMMAND}" -E copy_directory
            "$<GENEX_EVAL:$<TARGET_PROPERTY:PelmoraTacetor_VST3,JUCE_PLUGIN_ARTEFACT_FILE>>"
            "$ENV{HOME}/.vst3/PelmoraTacetor.vst3"
    COMMAND "${CMAKE_COMMAND}" -E copy_directory
            "$<TARGET_FILE_DIR:PelmoraTacetor_LV2>"
            "$ENV{HOME}/.lv2/PelmoraTacetor.lv2"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:PelmoraTacetor_Standalone>" "$ENV{HOME}/.local/bin/"
    COMMAND "${CMAKE_COMMAND}" -E copy "$<TARGET_FILE:tacetor-render>" "$ENV{HOME}/.local/bin/"
    DEPENDS PelmoraTacetor_VST PelmoraTacetor_VST3 PelmoraTacetor_LV2 PelmoraTacetor_Standalone tacetor-render
    COMMENT "Installing Pelmora Tacetor into ~/.vst, ~/.vst3, ~/.lv2 and ~/.local/bin"
    VERBATIM)
