#include "PluginBundleHost.h"

#include <cstring>
#include <filesystem>
#include <utility>
#include <vector>

namespace
{
// The same folder reached through different paths or symbolic links counts as one.
bool isSameFolder (const juce::File& a, const juce::File& b)
{
    std::error_code errorA, errorB;
    const auto canonicalA = std::filesystem::canonical (a.getFullPathName().toStdString(), errorA);
    const auto canonicalB = std::filesystem::canonical (b.getFullPathName().toStdString(), errorB);
    return ! errorA && ! errorB && canonicalA == canonicalB;
}

bool manifestDeclares (const juce::File& bundle, const juce::String& uri)
{
    return bundle.getChildFile ("manifest.ttl").loadFileAsString().contains ("<" + uri + ">");
}

// lv2:minorVersion and lv2:microVersion as the bundle's descriptions declare them; lilv takes
// a missing number as 0.
std::pair<int, int> declaredVersion (const juce::File& bundle)
{
    std::pair<int, int> version;

    for (const auto& entry : juce::RangedDirectoryIterator (bundle, false, "*.ttl"))
    {
        const auto text = entry.getFile().loadFileAsString();
        const auto numberAfter = [&text] (const char* property, int& number)
        {
            const auto at = text.indexOf (property);
            if (at >= 0)
                number = text.substring (at + static_cast<int> (std::strlen (property))).trimStart().getIntValue();
        };
        numberAfter ("lv2:minorVersion", version.first);
        numberAfter ("lv2:microVersion", version.second);
    }

    return version;
}
} // namespace

juce::File PluginBundleHost::findShadowingLv2Copy (const juce::FileSearchPath& locations, const juce::File& bundle, const juce::String& uri)
{
    int bundleLocation = -1;
    std::vector<std::pair<int, juce::File>> copies;

    for (int i = 0; i < locations.getNumPaths(); ++i)
    {
        for (const auto& entry : juce::RangedDirectoryIterator (locations[i], false, "*", juce::File::findDirectories))
        {
            if (! manifestDeclares (entry.getFile(), uri))
                continue;

            if (! isSameFolder (entry.getFile(), bundle))
                copies.emplace_back (i, entry.getFile());
            else if (bundleLocation < 0)
                bundleLocation = i;
        }
    }

    const auto version = declaredVersion (bundle);

    for (const auto& [location, copy] : copies)
        if (bundleLocation < 0 || location <= bundleLocation || declaredVersion (copy) > version)
            return copy;

    return {};
}

std::unique_ptr<juce::AudioPluginInstance> PluginBundleHost::instantiate (juce::AudioPluginFormat& format,
                                                                          const juce::String& fileOrIdentifier,
                                                                          const juce::String& what,
                                                                          juce::String& error,
                                                                          double sampleRate,
                                                                          int blockSize)
{
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, fileOrIdentifier);

    if (types.isEmpty())
    {
        error = "JUCE's " + format.getName() + " host found no plug-in in " + what;
        return {};
    }

    juce::String creationError;
    auto instance = format.createInstanceFromDescription (*types.getFirst(), sampleRate, blockSize, creationError);

    if (instance == nullptr)
        error = "JUCE's " + format.getName() + " host could not create " + what + ": " + (creationError.isNotEmpty() ? creationError : juce::String ("no reason given"));

    return instance;
}

std::unique_ptr<juce::AudioPluginInstance> PluginBundleHost::loadVst3 (const juce::File& bundle,
                                                                       juce::String& error,
                                                                       double sampleRate,
                                                                       int blockSize)
{
    if (! bundle.isDirectory())
    {
        error = "no VST3 bundle folder at " + bundle.getFullPathName();
        return {};
    }

    juce::VST3PluginFormat format;
    return instantiate (format, bundle.getFullPathName(), "the VST3 bundle " + bundle.getFullPathName(),
                        error, sampleRate, blockSize);
}

std::unique_ptr<juce::AudioPluginInstance> PluginBundleHost::loadLv2 (const juce::File& bundle,
                                                                      const juce::String& uri,
                                                                      juce::String& error,
                                                                      double sampleRate,
                                                                      int blockSize)
{
    const auto what = "<" + uri + "> from the LV2 bundle " + bundle.getFullPathName();

    if (! bundle.getChildFile ("manifest.ttl").existsAsFile())
    {
        error = "no LV2 bundle (a folder with manifest.ttl) at " + bundle.getFullPathName();
        return {};
    }

    if (! manifestDeclares (bundle, uri))
    {
        error = "the LV2 bundle " + bundle.getFullPathName() + " does not declare <" + uri + ">";
        return {};
    }

    juce::LV2PluginFormat format;

    if (const auto shadow = findShadowingLv2Copy (format.getDefaultLocationsToSearch(), bundle, uri); shadow != juce::File())
    {
        error = "another copy of <" + uri + "> at " + shadow.getFullPathName() + " would be loaded instead of " + bundle.getFullPathName() + " (JUCE's LV2 host reads ~/.lv2, /usr/lib/lv2 and /usr/local/lib/lv2; " + "remove that copy or point HOME elsewhere)";
        return {};
    }

    // Outside the default folders the bundle is found by reading its parent folder.
    juce::OwnedArray<juce::PluginDescription> known;
    format.findAllTypesForFile (known, uri);

    if (known.isEmpty())
        format.searchPathsForPlugins (juce::FileSearchPath (bundle.getParentDirectory().getFullPathName()), false, false);

    return instantiate (format, uri, what, error, sampleRate, blockSize);
}
