// The audio callback of the built VST3 and LV2 bundles as a host calls it through JUCE's own
// hosting. The probe counts everything on the audio thread below the host's process call: the
// host's code, the format wrapper's and ours. JUCE 7.0.5's own share is known and exact, so
// the expectations are that share and nothing more; any allocation or lock our processor adds
// shows up as a difference:
//  - VST3 wrapper: copies the input bus's channel map each block (one allocation and free of
//    a small vector) and takes the processor's callback lock; JUCE's VST3 host takes three
//    locks of its own (parameter and event lists).
//  - LV2 wrapper: resizes its buffer to each block keeping the contents, which reallocates
//    whenever a block is longer than the one before it (not merely longer than prepared); it
//    takes the callback lock, and each parameter value arriving from the host takes the
//    parameter's listener lock.
// Neither depends on anything our configuration chooses: the first needs an input bus, the
// second a host that varies its block length.
#include "PluginBundleHost.h"
#include "support/AudioThreadProbe.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int prepared = 512;
constexpr int warmUpBlocks = 8;
constexpr int countedBlocks = 56;

struct Counts
{
    long allocations = 0, frees = 0, locks = 0, growingBlocks = 0;
};

juce::AudioProcessorParameter* findParameter (juce::AudioProcessor& processor, const juce::String& name)
{
    for (auto* parameter : processor.getParameters())
        if (parameter->getName (64) == name)
            return parameter;

    return nullptr;
}

/** Processes blocks the way a host's audio thread does, with automation arriving before each
    block and lengths from 1 to the prepared one, and counts inside the process calls after a
    warm-up. */
Counts countAudioThreadWork (juce::AudioPluginInstance& plugin)
{
    juce::AudioProcessorParameter* automated[] = {findParameter (plugin, "threshold"),
                                                  findParameter (plugin, "attack"),
                                                  findParameter (plugin, "decay")};

    for (auto* parameter : automated)
        if (parameter == nullptr)
            ADD_FAILURE() << "gate parameter missing";

    plugin.prepareToPlay (48000.0, prepared);
    juce::AudioBuffer<float> buffer (2, prepared);
    juce::MidiBuffer midi;
    Counts counts;
    int previousLength = prepared;

    for (int block = 0; block < warmUpBlocks + countedBlocks; ++block)
    {
        const int numSamples = block % 4 == 0 ? prepared : 1 + (block * 37) % prepared;

        for (int n = 0; n < numSamples; ++n)
            for (int channel = 0; channel < 2; ++channel)
                buffer.setSample (channel, n, (block / 8) % 2 == 0 ? 0.5f * std::sin (0.01f * static_cast<float> (n)) : 1.0e-4f);

        // Every block brings a value that differs from the parameter's last one.
        if (auto* parameter = automated[block % 3])
            parameter->setValue ((block / 3) % 2 == 0 ? 0.25f : 0.75f);

        juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), 2, numSamples);

        if (block < warmUpBlocks)
        {
            plugin.processBlock (view, midi);
        }
        else
        {
            AudioThreadProbe probe;
            plugin.processBlock (view, midi);
            probe.disarm();
            counts.allocations += probe.allocations();
            counts.frees += probe.frees();
            counts.locks += probe.locks();
            counts.growingBlocks += numSamples > previousLength;
        }

        previousLength = numSamples;
    }

    plugin.releaseResources();
    return counts;
}
} // namespace

TEST (FormatAudioThread, Vst3ProcessAllocatesAndLocksNothingOfOurs)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error);
    ASSERT_NE (plugin, nullptr) << error;
    const auto counts = countAudioThreadWork (*plugin);

    if (AudioThreadProbe::countsMalloc())
    {
        EXPECT_EQ (counts.allocations, countedBlocks);
        EXPECT_EQ (counts.frees, countedBlocks);
    }

    EXPECT_EQ (counts.locks, 4 * countedBlocks);
}

TEST (FormatAudioThread, Lv2ProcessAllocatesAndLocksNothingOfOurs)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), JucePlugin_LV2URI, error);
    ASSERT_NE (plugin, nullptr) << error;
    const auto counts = countAudioThreadWork (*plugin);

    if (AudioThreadProbe::countsMalloc())
    {
        EXPECT_EQ (counts.allocations, counts.growingBlocks);
        EXPECT_EQ (counts.frees, counts.growingBlocks);
    }

    EXPECT_EQ (counts.locks, 2 * countedBlocks);
}
