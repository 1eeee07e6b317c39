#pragma once

#include "SettingsChunk.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>

/**
    The plug-in's settings chunk inside the projects JUCE's own hosts save, and projects made
    around a chunk, so that tests can restore chosen settings through a real host and read back
    what the plug-in saved. Any thread.
*/
namespace HostProjects
{
/** A project JUCE's VST3 host restores: its XML with the component state (the chunk). */
juce::MemoryBlock vst3ProjectWith (const juce::MemoryBlock& chunk);

/** The chunk in a project JUCE's VST3 host saved, without the wrapper's header and bank before
    it (176 bytes); the whole component state when it is too short to have them. */
juce::MemoryBlock chunkInVst3Project (const juce::MemoryBlock& project);

/** lv2Project (Turtle that JUCE's LV2 host saved) with its state string replaced by chunk. */
juce::MemoryBlock lv2ProjectWith (const juce::MemoryBlock& lv2Project, const juce::MemoryBlock& chunk);

/** The chunk in a project JUCE's LV2 host saved (the base64 state string of JUCE's wrapper). */
juce::MemoryBlock chunkInLv2Project (const juce::MemoryBlock& project);

/** What a chunk holds, read with the plug-in's own reader (12 programs, the five host names,
    the defaults); nothing when the plug-in would ignore it. */
std::optional<SettingsChunk::Contents> contentsOf (const juce::MemoryBlock& chunk);

/** What plugin (a VST3 or LV2 bundle loaded by JUCE's host) saves now, read as above. */
std::optional<SettingsChunk::Contents> savedBy (juce::AudioPluginInstance& plugin);
} // namespace HostProjects
