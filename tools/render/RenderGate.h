#pragma once

#include "PelmoraTacetorAudioProcessor.h"
#include "RenderOptions.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

/**
    The gate a render runs: the linked-in processor, or a built VST3 or LV2 bundle loaded
    through JUCE's hosting, set up from the command line's settings.

    The settings (chunk file, program, values) are always applied to a linked-in processor
    first; a hosted bundle then receives the resulting settings chunk, the way a host restores
    a project, so both paths start from the very same state and produce the same samples.

    Message thread only, with JUCE running (hosting needs it); not copyable.
*/
class RenderGate
{
public:
    ~RenderGate();

    /** Builds the gate for options (settingsToLoad, program, values, plugin). On failure
        gate is null and the result says why. */
    static juce::Result create (const RenderOptions& options, std::unique_ptr<RenderGate>& gate);

    /** The settings chunk the gate runs with, as a host would store it. */
    const juce::MemoryBlock& getSettingsChunk() const noexcept { return settingsChunk_; }

    /** Prepares for numChannels (1 or 2) at sampleRate (Hz), blocks of at most blockSize. */
    juce::Result prepare (int numChannels, double sampleRate, int blockSize);

    /** Gates the block in place; it has the prepared channel count and at most the prepared
        block size. A mono block through a bundle that only takes stereo runs as two equal
        channels, which the linked detector gates exactly like mono. */
    void process (juce::AudioBuffer<float>& block);

    /** Stops processing; called before the gate is dropped. */
    void release();

private:
    RenderGate() = default;

    juce::Result applySettings (const RenderOptions& options);
    juce::Result loadPlugin (const juce::File& bundle);
    void finishSwitchingOff (int numChannels, double sampleRate, int blockSize);

    juce::AudioProcessor& active() noexcept;

    PelmoraTacetorAudioProcessor linkedIn_;
    std::unique_ptr<juce::AudioPluginInstance> hosted_;
    juce::MemoryBlock settingsChunk_;
    juce::AudioBuffer<float> stereoScratch_;
    juce::MidiBuffer midi_;
    bool duplicateMono_ = false;
    bool prepared_ = false;

    JUCE_DECLARE_NON_COPYABLE (RenderGate)
};
