// What each shipped binary offers the process that loads it, as `nm -D --defined-only` lists
// it: its entry points and nothing else, so a host never binds one of its own names (its lilv,
// say) to our copy or ours to its.
#include <juce_core/juce_core.h>

#include <gtest/gtest.h>

namespace
{
/** The names of the symbols binary defines in its dynamic symbol table, sorted. */
juce::StringArray exportsOf (const juce::String& binary)
{
    juce::ChildProcess nm;

    if (! nm.start (juce::StringArray { "nm", "-D", "--defined-only", binary }))
        return { "(nm did not start)" };

    const auto output = nm.readAllProcessOutput();

    if (! nm.waitForProcessToFinish (20000) || nm.getExitCode() != 0)
        return { "(nm failed: " + output.trim() + ")" };

    juce::StringArray names;

    for (const auto& line : juce::StringArray::fromLines (output))
        if (line.isNotEmpty())
            names.add (line.fromLastOccurrenceOf (" ", false, false));

    names.sort (false);
    return names;
}
} // namespace

TEST (Exports, EveryShippedBinaryExportsOnlyItsEntryPoints)
{
    const juce::String vst3 = juce::String (TACETOR_VST3_BUNDLE) + "/Contents/x86_64-linux/PelmoraTacetor.so";
    const juce::String lv2 = juce::String (TACETOR_LV2_BUNDLE) + "/libPelmoraTacetor.so";

    EXPECT_EQ (exportsOf (vst3), (juce::StringArray { "GetPluginFactory", "ModuleEntry", "ModuleExit" }));
    EXPECT_EQ (exportsOf (lv2), (juce::StringArray { "lv2_descriptor", "lv2ui_descriptor" }));
    EXPECT_EQ (exportsOf (TACETOR_VST2_PLUGIN), juce::StringArray { "VSTPluginMain" });
    EXPECT_EQ (exportsOf (TACETOR_STANDALONE_APP), juce::StringArray());
}
