# LV2 hosts file plug-ins by the class their description declares; JUCE writes only the generic
# lv2:Plugin. Add lv2:GatePlugin (a subclass of dynamics) after JUCE writes the description, and
# fail the build if JUCE's line was not there, so that a JUCE update cannot silently drop it.
add_custom_command(TARGET PelmoraTacetor_LV2 POST_BUILD
    COMMAND sed -i "s|^\\([[:space:]]*a lv2:Plugin\\) ;$|\\1 , lv2:GatePlugin ;|"
            "$<TARGET_FILE_DIR:PelmoraTacetor_LV2>/dsp.ttl"
    COMMAND sh -c "grep -q 'a lv2:Plugin , lv2:GatePlugin ;' \"$0\" || { echo \"$0: no 'a lv2:Plugin ;' line to add the gate class to\" >&2; exit 1; }"
            "$<TARGET_FILE_DIR:PelmoraTacetor_LV2>/dsp.ttl"
    VERBATIM)
