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

namespace
{
/** A minimal LV2 bundle folder declaring uri at the given version. */
juce::File makeLv2Bundle (const juce::File& folder, const juce::String& uri, int minor, int micro)
{
    folder.createDirectory();
    folder.getChildFile ("manifest.ttl").replaceWithText ("<" + uri + ">\n\ta lv2:Plugin ;\n\trdfs:seeAlso <dsp.ttl> .\n");
    folder.getChildFile ("dsp.ttl").replaceWithText ("<" + uri + ">\n\ta lv2:Plugin ;\n\tlv2:minorVersion " + juce::String (minor) + " ;\n\tlv2:microVersion " + juce::String (micro) + " ;\n");
    return folder;
}

/** A fresh temporary folder, deleted with everything in it at the end of the scope. */
struct ScratchFolder
{
    ScratchFolder() { folder.createDirectory(); }
    ~ScratchFolder() { folder.deleteRecursively (false); }
    const juce::File folder = juce::File::createTempFile ("tacetor-lv2-folders");
};
} // namespace

TEST (BundleHost, CountsAsShadowsOnlyTheCopiesTheLv2HostWouldLoadInstead)
{
    // Three folders read in this order, like ~/.lv2, /usr/lib/lv2 and /usr/local/lib/lv2.
    const ScratchFolder scratch;
    const auto& root = scratch.folder;
    const auto user = root.getChildFile ("user"), system = root.getChildFile ("system"), local = root.getChildFile ("local");
    for (const auto& folder : { user, system, local })
        ASSERT_TRUE (folder.createDirectory());

    const juce::String uri ("urn:tacetor:test");
    const juce::FileSearchPath locations (user.getFullPathName() + ";" + system.getFullPathName() + ";" + local.getFullPathName());
    const auto build = makeLv2Bundle (root.getChildFile ("build/Gate.lv2"), uri, 0, 0);
    const auto shadowOf = [&] (const juce::File& bundle)
    { return PluginBundleHost::findShadowingLv2Copy (locations, bundle, uri); };

    // The build alone, linked into the first folder (as the tests' home does) or not.
    EXPECT_EQ (shadowOf (build), juce::File());
    ASSERT_TRUE (build.createSymbolicLink (user.getChildFile ("Gate.lv2"), true));
    EXPECT_EQ (shadowOf (build), juce::File());

    // An installed copy of the same or an older version in a later folder is read after the
    // build and ignored; a newer one replaces it.
    const auto installed = makeLv2Bundle (system.getChildFile ("Installed.lv2"), uri, 0, 0);
    EXPECT_EQ (shadowOf (build), juce::File());
    makeLv2Bundle (installed, uri, 0, 1);
    EXPECT_EQ (shadowOf (build), installed);
    makeLv2Bundle (installed, uri, 0, 0);

    // Without the link the build is read after every folder: any copy there wins.
    user.getChildFile ("Gate.lv2").deleteFile();
    EXPECT_EQ (shadowOf (build), installed);
    ASSERT_TRUE (build.createSymbolicLink (user.getChildFile ("Gate.lv2"), true));

    // A copy beside the build's link: one folder's bundles come in no defined order.
    const auto stale = makeLv2Bundle (user.getChildFile ("Stale.lv2"), uri, 0, 0);
    EXPECT_EQ (shadowOf (build), stale);
    stale.deleteRecursively();

    // The build linked into a later folder than a copy: the copy is read first.
    user.getChildFile ("Gate.lv2").deleteFile();
    ASSERT_TRUE (build.createSymbolicLink (local.getChildFile ("Gate.lv2"), true));
    EXPECT_EQ (shadowOf (build), installed);

    // Bundles of other plug-ins never count.
    installed.deleteRecursively();
    makeLv2Bundle (system.getChildFile ("Other.lv2"), "urn:tacetor:other", 9, 9);
    EXPECT_EQ (shadowOf (build), juce::File());
}
