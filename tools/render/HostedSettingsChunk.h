#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/**
    Hands the plug-in's own settings chunk to a bundle hosted through JUCE's VST3 or LV2
    hosting, the way a host restores the plug-in with a project.

    JUCE's hosted instances wrap the plug-in's chunk in a format of their own (an XML element
    with the VST3 component state; an LV2 state description in Turtle): these functions do
    that wrapping. Message thread only.
*/
namespace HostedSettingsChunk
{
/** Restores chunk into the hosted plug-in; fails for a format other than VST3 or LV2, or
    when the hosted state does not have the expected shape. */
juce::Result apply (juce::AudioPluginInstance& instance, const juce::MemoryBlock& chunk);

} // namespace HostedSettingsChunk
