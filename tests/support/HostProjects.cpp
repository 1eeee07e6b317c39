#include "support/HostProjects.h"

namespace
{
// The wrapper puts a VST2-style header (16 bytes) and bank (160 bytes) before the chunk.
constexpr size_t vst3ChunkOffset = 176;

juce::String lv2StateString (const juce::String& turtle)
{
    return turtle.fromFirstOccurrenceOf (":StateString> \"", false, false).upToFirstOccurrenceOf ("\"", false, false);
}
} // namespace

namespace HostProjects
{
juce::MemoryBlock vst3ProjectWith (const juce::MemoryBlock& chunk)
{
    juce::XmlElement project ("VST3PluginState");
    project.createNewChildElement ("IComponent")->addTextElement (chunk.toBase64Encoding());
    juce::MemoryBlock bytes;
    juce::AudioProcessor::copyXmlToBinary (project, bytes);
    return bytes;
}

juce::MemoryBlock chunkInVst3Project (const juce::MemoryBlock& project)
{
    juce::MemoryBlock state;
    const auto xml = juce::AudioProcessor::getXmlFromBinary (project.getData(), static_cast<int> (project.getSize()));

    if (auto* component = xml != nullptr ? xml->getChildByName ("IComponent") : nullptr)
        state.fromBase64Encoding (component->getAllSubText());

    return state.getSize() > vst3ChunkOffset
               ? juce::MemoryBlock (static_cast<const char*> (state.getData()) + vst3ChunkOffset, state.getSize() - vst3ChunkOffset)
               : state;
}

juce::MemoryBlock lv2ProjectWith (const juce::MemoryBlock& lv2Project, const juce::MemoryBlock& chunk)
{
    const auto turtle = lv2Project.toString();
    const auto replaced = turtle.replace (lv2StateString (turtle), chunk.toBase64Encoding());
    return { replaced.toRawUTF8(), replaced.getNumBytesAsUTF8() };
}

juce::MemoryBlock chunkInLv2Project (const juce::MemoryBlock& project)
{
    juce::MemoryBlock chunk;
    chunk.fromBase64Encoding (lv2StateString (project.toString()));
    return chunk;
}

std::optional<SettingsChunk::Contents> contentsOf (const juce::MemoryBlock& chunk)
{
    return SettingsChunk::read (chunk.getData(), static_cast<int> (chunk.getSize()), 12,
                                { "bypass", "dualmono", "threshold", "attack", "decay" },
                                { 1.0f, 0.0f, 0.0f, 0.134f, 0.367f });
}

std::optional<SettingsChunk::Contents> savedBy (juce::AudioPluginInstance& plugin)
{
    juce::MemoryBlock project;
    plugin.getStateInformation (project);
    const bool isVst3 = plugin.getPluginDescription().pluginFormatName == "VST3";
    return contentsOf (isVst3 ? chunkInVst3Project (project) : chunkInLv2Project (project));
}
} // namespace HostProjects
