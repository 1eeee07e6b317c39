#include "HostedSettingsChunk.h"

namespace HostedSettingsChunk
{
namespace
{
// JUCE's VST3 host keeps the component's state as the base64 text of one child element.
constexpr const char* vst3StateTag = "VST3PluginState";
constexpr const char* vst3ComponentTag = "IComponent";

// JUCE's LV2 client stores the chunk as one string property, in JUCE's base64 form.
const juce::String lv2StateProperty = juce::String (JucePlugin_LV2URI) + ":StateString";

bool isFormat (juce::AudioPluginInstance& instance, const char* name)
{
    return instance.getPluginDescription().pluginFormatName == name;
}

juce::Result unexpectedState (juce::AudioPluginInstance& instance)
{
    return juce::Result::fail ("the hosted " + instance.getPluginDescription().pluginFormatName + " plug-in's state does not hold a settings chunk where expected");
}

// The quoted literal after the state property in the Turtle text: [start, end) of its content.
std::optional<juce::Range<int>> findLv2ChunkLiteral (const juce::String& turtle)
{
    const int property = turtle.indexOf ("<" + lv2StateProperty + ">");

    if (property < 0)
        return std::nullopt;

    const int open = turtle.indexOfChar (property, '"');
    const int close = open < 0 ? -1 : turtle.indexOfChar (open + 1, '"');

    if (close < 0)
        return std::nullopt;

    return juce::Range<int> (open + 1, close);
}

juce::String stateText (juce::AudioPluginInstance& instance)
{
    juce::MemoryBlock state;
    instance.getStateInformation (state);
    return state.toString();
}
} // namespace

juce::Result apply (juce::AudioPluginInstance& instance, const juce::MemoryBlock& chunk)
{
    if (isFormat (instance, "VST3"))
    {
        juce::XmlElement state (vst3StateTag);
        state.createNewChildElement (vst3ComponentTag)->addTextElement (chunk.toBase64Encoding());

        juce::MemoryBlock wrapped;
        juce::AudioProcessor::copyXmlToBinary (state, wrapped);
        instance.setStateInformation (wrapped.getData(), static_cast<int> (wrapped.getSize()));
        return juce::Result::ok();
    }

    if (isFormat (instance, "LV2"))
    {
        // The description names the instance's own URIs and port values; only the chunk's
        // literal is swapped, so everything else restores as the plug-in wrote it.
        auto turtle = stateText (instance);
        const auto literal = findLv2ChunkLiteral (turtle);

        if (! literal.has_value())
            return unexpectedState (instance);

        turtle = turtle.replaceSection (literal->getStart(), literal->getLength(), chunk.toBase64Encoding());
        instance.setStateInformation (turtle.toRawUTF8(), static_cast<int> (turtle.getNumBytesAsUTF8()));
        return juce::Result::ok();
    }

    return juce::Result::fail ("settings chunks can only be handed to VST3 and LV2 plug-ins, not " + instance.getPluginDescription().pluginFormatName);
}
} // namespace HostedSettingsChunk
