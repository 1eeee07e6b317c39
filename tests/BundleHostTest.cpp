// The built bundles, loaded through JUCE's own VST3 and LV2 hosting as a host would load them.
#include "PluginBundleHost.h"

#include <gtest/gtest.h>

TEST (BundleHost, LoadsTheBuiltVst3AndLv2Bundles)
{
    juce::String error;

    const auto vst3 = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error);
    ASSERT_NE (vst3, nullptr) << error;
    EXPECT_EQ (vst3->getName(), "Pelmora Tacetor");

    const auto lv2 = PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), JucePlugin_LV2URI, error);
    ASSERT_NE (lv2, nullptr) << error;
    EXPECT_EQ (lv2->getName(), "Pelmora Tacetor");
}

TEST (BundleHost, ExplainsWhatIsMissing)
{
    juce::String error;
    const auto missing = juce::File (TACETOR_SOURCE_DIR).getChildFile ("no-such.vst3");

    EXPECT_EQ (PluginBundleHost::loadVst3 (missing, error), nullptr);
    EXPECT_TRUE (error.contains (missing.getFullPathName())) << error;

    EXPECT_EQ (PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), "urn:tacetor:not-here", error), nullptr);
    EXPECT_TRUE (error.contains ("does not declare <urn:tacetor:not-here>")) << error;
}

TEST (BundleHost, RefusesAnLv2BuildShadowedByAnotherCopy)
{
    // A copy declaring the same URI in ~/.lv2 would be loaded in place of the bundle asked for.
    const auto stale = juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".lv2/Stale.lv2");
    ASSERT_TRUE (stale.createDirectory());
    juce::File (TACETOR_LV2_BUNDLE).getChildFile ("manifest.ttl").copyFileTo (stale.getChildFile ("manifest.ttl"));

    juce::String error;
    const auto instance = PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), JucePlugin_LV2URI, error);
    stale.deleteRecursively();

    EXPECT_EQ (instance, nullptr);
    EXPECT_TRUE (error.contains ("another copy")) << error;
    EXPECT_TRUE (error.contains (stale.getFullPathName())) << error;
}
