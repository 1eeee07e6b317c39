// What a host sees of the VST3 and LV2 bundles through JUCE's own hosting: identity, layouts,
// parameters, programs, and audio equal to the processor's in this process.
#include "PelmoraTacetorAudioProcessor.h"
#include "PluginBundleHost.h"
#include "support/Vst3HostSide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 256;

const char* const hostNames[] = { "bypass", "dualmono", "threshold", "attack", "decay" };
const char* const defaultTexts[] = { "On", "Off", "-oo", "2.00 ms", "100.42 ms" };

juce::AudioProcessorParameter* findParameter (juce::AudioProcessor& processor, const juce::String& name)
{
    for (auto* parameter : processor.getParameters())
        if (parameter->getName (64) == name)
            return parameter;

    return nullptr;
}

bool supports (juce::AudioProcessor& processor, int inputs, int outputs)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (inputs));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (outputs));
    return processor.checkBusesLayoutSupported (layout);
}

// Gates the same bursts through the hosted bundle and an in-process processor with the same
// settings, and counts the channel blocks that differ in any bit.
int countDifferingBlocks (juce::AudioProcessor& hosted)
{
    PelmoraTacetorAudioProcessor reference;
    const float settings[] = { 1.0f, 1.0f, 0.45f, 0.05f, 0.1f }; // dual mono, so both detectors run

    for (int i = 0; i < 5; ++i)
    {
        if (auto* parameter = findParameter (hosted, hostNames[i]))
            parameter->setValue (settings[i]);
        else
            ADD_FAILURE() << "no parameter " << hostNames[i];

        reference.setParameter (i, settings[i]);
    }

    hosted.prepareToPlay (sampleRate, blockSize);
    reference.prepareToPlay (sampleRate, blockSize);

    juce::AudioBuffer<float> viaHost (2, blockSize), inProcess (2, blockSize);
    juce::MidiBuffer midi;
    double phase = 0.0;
    int differing = 0;

    for (int block = 0; block < 40; ++block)
    {
        const float level = (block / 5) % 2 == 0 ? 0.8f : 0.01f;

        for (int n = 0; n < blockSize; ++n, phase += 0.05)
        {
            inProcess.setSample (0, n, level * static_cast<float> (std::sin (phase)));
            inProcess.setSample (1, n, (block % 3 == 0 ? 0.005f : level) * static_cast<float> (std::sin (phase * 1.3)));
        }

        viaHost.makeCopyOf (inProcess);
        hosted.processBlock (viaHost, midi);
        reference.processBlock (inProcess, midi);

        for (int channel = 0; channel < 2; ++channel)
            differing += std::memcmp (viaHost.getReadPointer (channel), inProcess.getReadPointer (channel),
                                      sizeof (float) * blockSize) != 0;
    }

    // The comparison only means something if the gate worked: the last quiet burst is gated down.
    EXPECT_LT (inProcess.getMagnitude (0, 0, blockSize), 0.005f);
    hosted.releaseResources();
    return differing;
}
} // namespace

TEST (FormatHost, Vst3BundleShowsTheProductToAHost)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error, sampleRate, blockSize);
    ASSERT_NE (plugin, nullptr) << error;

    const auto description = plugin->getPluginDescription();
    EXPECT_EQ (description.name, "Pelmora Tacetor");
    EXPECT_EQ (description.manufacturerName, "Orvane");
    EXPECT_EQ (description.version, "1.0.0");
    EXPECT_EQ (description.category, "Fx");
    EXPECT_FALSE (description.isInstrument);
    EXPECT_EQ (description.numInputChannels, 2);
    EXPECT_EQ (description.numOutputChannels, 2);

    EXPECT_EQ (plugin->getTotalNumInputChannels(), 2);
    EXPECT_EQ (plugin->getTotalNumOutputChannels(), 2);
    EXPECT_TRUE (supports (*plugin, 1, 1));
    EXPECT_TRUE (supports (*plugin, 2, 2));
    EXPECT_FALSE (supports (*plugin, 1, 2));
    EXPECT_FALSE (supports (*plugin, 2, 1));

    // Our five first, in index order; the wrapper adds its own bypass and program parameters.
    const auto& parameters = plugin->getParameters();
    ASSERT_GE (parameters.size(), 5);

    for (int i = 0; i < 5; ++i)
    {
        EXPECT_EQ (parameters[i]->getName (64), hostNames[i]);
        EXPECT_EQ (parameters[i]->getCurrentValueAsText(), defaultTexts[i]);
        EXPECT_TRUE (parameters[i]->isAutomatable());
    }

    for (int i = 5; i < parameters.size(); ++i)
        EXPECT_TRUE (parameters[i]->getName (64) == "Bypass" || parameters[i]->getName (64) == "Program")
            << parameters[i]->getName (64);

    ASSERT_EQ (plugin->getNumPrograms(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (plugin->getProgramName (i), "Init");

    EXPECT_EQ (plugin->getLatencySamples(), 0);
    EXPECT_EQ (plugin->getTailLengthSeconds(), 0.0);
    EXPECT_FALSE (plugin->acceptsMidi());
    EXPECT_EQ (countDifferingBlocks (*plugin), 0);
}

TEST (FormatHost, Lv2BundleShowsTheProductToAHost)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), JucePlugin_LV2URI, error, sampleRate,
                                             blockSize);
    ASSERT_NE (plugin, nullptr) << error;

    const auto description = plugin->getPluginDescription();
    EXPECT_EQ (description.name, "Pelmora Tacetor");
    EXPECT_EQ (description.manufacturerName, "Orvane");
    EXPECT_FALSE (description.isInstrument);
    EXPECT_EQ (plugin->getTotalNumInputChannels(), 2);
    EXPECT_EQ (plugin->getTotalNumOutputChannels(), 2);

    for (int i = 0; i < 5; ++i)
    {
        auto* parameter = findParameter (*plugin, hostNames[i]);
        ASSERT_NE (parameter, nullptr) << hostNames[i];
        EXPECT_EQ (parameter->getValue(), PelmoraTacetorAudioProcessor().getParameterDefaultValue (i)) << hostNames[i];
    }

    // LV2 presets come back unordered: count them by name.
    ASSERT_EQ (plugin->getNumPrograms(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (plugin->getProgramName (i), "Init");

    EXPECT_EQ (countDifferingBlocks (*plugin), 0);
}

TEST (FormatHost, Vst3TakesMonoAndStereoPairsAndNoOtherTwoChannelArrangement)
{
    using namespace Steinberg;
    namespace Arr = Vst::SpeakerArr;

    juce::String error;
    auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error, sampleRate, blockSize);
    ASSERT_NE (plugin, nullptr) << error;
    auto* component = Vst3HostSide::componentOf (*plugin);
    ASSERT_NE (component, nullptr);
    Vst::IAudioProcessor* audio = nullptr;
    ASSERT_EQ (component->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&audio)), kResultOk);

    const auto arrange = [audio] (Vst::SpeakerArrangement in, Vst::SpeakerArrangement out)
    { return audio->setBusArrangements (&in, 1, &out, 1) == kResultTrue; };
    const auto outputArrangement = [audio]
    {
        Vst::SpeakerArrangement arrangement = 0;
        audio->getBusArrangement (Vst::kOutput, 0, arrangement);
        return arrangement;
    };

    EXPECT_TRUE (arrange (Arr::kMono, Arr::kMono));
    EXPECT_TRUE (arrange (Arr::kStereo, Arr::kStereo));

    // Two channels that are not left and right, and more than two: refused, and the plug-in
    // keeps telling the host the stereo pair it has.
    for (const auto other : { Arr::kStereoCLfe, Arr::kStereoSide, Arr::kStereoSurround, Arr::k51 })
    {
        EXPECT_FALSE (arrange (Arr::kStereo, other)) << other;
        EXPECT_FALSE (arrange (other, other)) << other;
        EXPECT_EQ (outputArrangement(), Arr::kStereo) << other;
    }

    EXPECT_FALSE (arrange (Arr::kMono, Arr::kStereo));
    audio->release();

    // JUCE's host asks the same way when it checks a layout for itself.
    const auto centreAndLfe = juce::AudioChannelSet::channelSetWithChannels ({ juce::AudioChannelSet::centre, juce::AudioChannelSet::LFE });
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::stereo());
    layout.outputBuses.add (centreAndLfe);
    EXPECT_FALSE (plugin->checkBusesLayoutSupported (layout));
    layout.outputBuses.getReference (0) = juce::AudioChannelSet::create5point1();
    EXPECT_FALSE (plugin->checkBusesLayoutSupported (layout));
    EXPECT_TRUE (supports (*plugin, 2, 2));
    EXPECT_TRUE (supports (*plugin, 1, 1));
}
