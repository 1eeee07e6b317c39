// What the built VST3, LV2 and VST2 plug-ins do on the host's audio thread, counted inside the
// host's process call: the format wrapper's work and ours, over blocks of every length a host
// uses, stereo and mono. Nothing allocates or frees. JUCE 7.0.5's wrappers would: the VST3
// wrapper copies a channel map per bus and call, the LV2 wrapper grows its buffer whenever a
// block is longer than the one before; each format builds a patched copy of that one JUCE file
// (cmake/Formats.cmake). What is left is JUCE's share of locks, which no setting of ours
// removes, so each expectation is exactly that share:
//  - every wrapper takes the processor's callback lock around processing (VST2: once per
//    piece a long block is cut into);
//  - each parameter change that brings a new value takes the processor's listener lock while
//    it is announced (VST2: in the host's setParameter, just before the block).
// Nothing ever holds the callback lock elsewhere (nothing suspends processing); the listener
// lock is held elsewhere only while a value is announced from another thread (an editor
// gesture, a program change, restored state).
#include "PluginBundleHost.h"
#include "support/AudioThreadProbe.h"
#include "support/Vst2TestHost.h"
#include "support/Vst3HostSide.h"

#include <pluginterfaces/vst/ivstevents.h>
#include <pluginterfaces/vst/ivstprocesscontext.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr int prepared = 512;
constexpr int warmUpBlocks = 8;
constexpr int countedBlocks = 60;

constexpr const char* traceHint = "TACETOR_PROBE_TRACE=1 in the environment prints where each one comes from";

struct Counts
{
    long allocations = 0, frees = 0, locks = 0;
};

/** Block lengths a host uses after announcing `prepared`: full blocks, remainders down to a
    single sample and, where it is allowed, blocks of up to `longest`. */
int blockLength (int block, int longest)
{
    if (block % 4 == 0)
        return prepared;

    if (block % 7 == 0)
        return longest;

    return 1 + (block * 37) % prepared;
}

/** Runs process under the probe and adds what it counted. */
template <typename Process>
void countInto (Counts& counts, Process&& process)
{
    AudioThreadProbe probe;
    process();
    probe.disarm();
    counts.allocations += probe.allocations();
    counts.frees += probe.frees();
    counts.locks += probe.locks();
}

void fillTestSignal (float* const* channels, int numChannels, int numSamples, int block)
{
    for (int channel = 0; channel < numChannels; ++channel)
        for (int n = 0; n < numSamples; ++n)
            channels[channel][n] = (block / 8) % 2 == 0 ? 0.5f * std::sin (0.01f * static_cast<float> (n)) : 1.0e-4f;
}

// The SDK's interfaces have no virtual destructors by design; these objects live on the stack.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

using namespace Steinberg;

/** A note-on at the start of every block: hosts send events even to plug-ins without an event
    bus, and the plug-in must simply not look. */
class NoteEvents final : public Vst3HostSide::StackObject<Vst::IEventList>
{
public:
    int32 PLUGIN_API getEventCount() override { return 1; }

    tresult PLUGIN_API getEvent (int32 index, Vst::Event& event) override
    {
        if (index != 0)
            return kInvalidArgument;

        event = {};
        event.type = Vst::Event::kNoteOnEvent;
        event.noteOn.pitch = 60;
        event.noteOn.velocity = 0.8f;
        return kResultTrue;
    }

    tresult PLUGIN_API addEvent (Vst::Event&) override { return kResultFalse; }
};

#pragma GCC diagnostic pop

/** The main buses' layout of one channel count, in and out. */
juce::AudioProcessor::BusesLayout layoutOf (int channels)
{
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (channels));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (channels));
    return layout;
}

const char* nameOf (int channels) { return channels == 1 ? "mono" : "stereo"; }
} // namespace

TEST (FormatAudioThread, Vst3ProcessNeitherAllocatesNorAddsToTheWrappersLocks)
{
    for (const int channels : { 2, 1 })
    {
        SCOPED_TRACE (nameOf (channels));
        juce::String error;
        auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error, 48000.0, prepared);
        ASSERT_NE (plugin, nullptr) << error;
        ASSERT_TRUE (plugin->setBusesLayout (layoutOf (channels)));

        // JUCE's host sets the component up and activates it; the blocks then go straight to
        // the component's process(), so that only the bundle's work is counted.
        plugin->prepareToPlay (48000.0, prepared);
        auto* component = Vst3HostSide::componentOf (*plugin);
        ASSERT_NE (component, nullptr);
        Vst::IAudioProcessor* audio = nullptr;
        ASSERT_EQ (component->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&audio)), kResultOk);

        // Longer than announced: the entry point cuts such blocks into announced-size pieces.
        constexpr int longest = 2 * prepared + 300;
        juce::AudioBuffer<float> input (channels, longest), output (channels, longest);
        Vst::AudioBusBuffers inputBus {}, outputBus {};
        inputBus.numChannels = outputBus.numChannels = channels;
        float* inputs[] = { input.getWritePointer (0), input.getWritePointer (channels - 1) };
        float* outputs[] = { output.getWritePointer (0), output.getWritePointer (channels - 1) };
        inputBus.channelBuffers32 = inputs;
        outputBus.channelBuffers32 = outputs;

        Vst3HostSide::ParameterChanges changesIn, changesOut;
        NoteEvents events;
        Vst::ProcessContext context {};
        context.state = Vst::ProcessContext::kPlaying | Vst::ProcessContext::kTempoValid;
        context.sampleRate = 48000.0;
        context.tempo = 120.0;

        double current[3] = {};
        Counts counts;
        long expectedCalls = 0, expectedNewValues = 0;

        for (int block = 0; block < warmUpBlocks + countedBlocks; ++block)
        {
            // Hosts flush parameters between blocks with a call that carries no audio.
            const bool flush = block % 9 == 5;
            const int numSamples = flush ? 0 : blockLength (block, longest);
            fillTestSignal (input.getArrayOfWritePointers(), channels, numSamples, block);

            // Automation of threshold, attack or decay (their indices are their VST3 IDs) in
            // every block, as a ramp; every fifth block repeats the value the parameter has.
            const int automated = block % 3;
            const bool repeated = block % 5 == 3 && block >= 3;

            if (! repeated)
                current[automated] = current[automated] == 0.25 ? 0.75 : 0.25;

            changesIn.clear();
            changesIn.add (static_cast<Vst::ParamID> (2 + automated), 0, 0.5);
            changesIn.add (static_cast<Vst::ParamID> (2 + automated), std::max (0, numSamples - 1), current[automated]);
            changesOut.clear();

            Vst::ProcessData data;
            data.processMode = Vst::kRealtime;
            data.symbolicSampleSize = Vst::kSample32;
            data.numSamples = numSamples;
            data.numInputs = data.numOutputs = flush ? 0 : 1;
            data.inputs = flush ? nullptr : &inputBus;
            data.outputs = flush ? nullptr : &outputBus;
            data.inputParameterChanges = &changesIn;
            data.outputParameterChanges = &changesOut;
            data.inputEvents = &events;
            data.processContext = &context;

            if (block < warmUpBlocks)
            {
                audio->process (data);
            }
            else
            {
                tresult result = kResultFalse;
                countInto (counts, [&]
                           { result = audio->process (data); });
                EXPECT_EQ (result, kResultTrue) << "block " << block;
                expectedCalls += flush ? 0 : (numSamples + prepared - 1) / prepared;
                expectedNewValues += repeated ? 0 : 1;
            }

            context.projectTimeSamples += numSamples;
        }

        audio->release();
        plugin->releaseResources();

        if (AudioThreadProbe::countsMalloc())
        {
            EXPECT_EQ (counts.allocations, 0) << traceHint;
            EXPECT_EQ (counts.frees, 0) << traceHint;
        }

        // One callback lock for each call into JUCE's process() that carries audio; one
        // listener lock for each new value.
        EXPECT_EQ (counts.locks, expectedCalls + expectedNewValues) << traceHint;
    }
}

TEST (FormatAudioThread, Lv2RunNeitherAllocatesNorAddsToTheWrappersLocks)
{
    // Stereo only: JUCE's LV2 wrapper gives the plug-in fixed ports for its first channel
    // configuration, so an LV2 host has no mono layout to choose.
    juce::String error;
    auto plugin = PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), JucePlugin_LV2URI, error, 48000.0, prepared);
    ASSERT_NE (plugin, nullptr) << error;

    juce::AudioProcessorParameter* automated[3] = {};

    for (auto* parameter : plugin->getParameters())
        for (int i = 0; i < 3; ++i)
            if (parameter->getName (64) == juce::StringArray { "threshold", "attack", "decay" }[i])
                automated[i] = parameter;

    for (auto* parameter : automated)
        ASSERT_NE (parameter, nullptr);

    // JUCE's LV2 host adds nothing the probe counts (its locks are spin locks, its buffers are
    // made when preparing), so all that is counted is the bundle's run().
    plugin->prepareToPlay (48000.0, prepared);
    juce::AudioBuffer<float> buffer (2, prepared);
    juce::MidiBuffer midi;
    Counts counts;
    long growingBlocks = 0;
    int previousLength = prepared;

    for (int block = 0; block < warmUpBlocks + countedBlocks; ++block)
    {
        // LV2 hosts never exceed the announced length; they do follow short blocks with longer ones.
        const int numSamples = blockLength (block, prepared);
        fillTestSignal (buffer.getArrayOfWritePointers(), 2, numSamples, block);
        automated[block % 3]->setValue ((block / 3) % 2 == 0 ? 0.25f : 0.75f);
        juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), 2, numSamples);

        if (block < warmUpBlocks)
        {
            plugin->processBlock (view, midi);
        }
        else
        {
            countInto (counts, [&]
                       { plugin->processBlock (view, midi); });
            growingBlocks += numSamples > previousLength;
        }

        previousLength = numSamples;
    }

    plugin->releaseResources();
    ASSERT_GT (growingBlocks, 0) << "the blocks never grew, so the test shows nothing";

    if (AudioThreadProbe::countsMalloc())
    {
        EXPECT_EQ (counts.allocations, 0) << traceHint;
        EXPECT_EQ (counts.frees, 0) << traceHint;
    }

    // The callback lock, and one listener lock for the new value each block brings.
    EXPECT_EQ (counts.locks, 2 * countedBlocks) << traceHint;
}

TEST (FormatAudioThread, Vst2ProcessNeitherAllocatesNorAddsToTheWrappersLocks)
{
    for (const int channels : { 2, 1 })
    {
        SCOPED_TRACE (nameOf (channels));
        Vst2TestHost host (TACETOR_VST2_PLUGIN);
        ASSERT_TRUE (host.isLoaded());
        auto* effect = host.open();
        ASSERT_NE (effect, nullptr);

        Vst2::VstSpeakerArrangement arrangement {};
        arrangement.type = channels == 1 ? Vst2::kSpeakerArrMono : Vst2::kSpeakerArrStereo;
        arrangement.numChannels = channels;
        ASSERT_EQ (Vst2TestHost::dispatch (effect, Vst2::effSetSpeakerArrangement, 0,
                                           reinterpret_cast<Vst2::VstIntPtr> (&arrangement), &arrangement),
                   1);
        Vst2TestHost::resume (effect, 48000.0f, prepared);

        // Longer than announced, with the second output disabled (no buffer): the entry point
        // cuts such blocks into announced-size pieces, and JUCE gates through a scratch channel
        // it makes in the first block. The host passes as many channels as the effect has.
        constexpr int longest = 2 * prepared + 300;
        juce::AudioBuffer<float> buffer (2, longest);
        float* inputs[] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };
        float* outputs[] = { buffer.getWritePointer (0), nullptr };
        Counts counts;
        long expectedPieces = 0;

        for (int block = 0; block < warmUpBlocks + countedBlocks; ++block)
        {
            const int numSamples = blockLength (block, longest);
            fillTestSignal (inputs, 2, numSamples, block);

            // VST2 hosts automate on the audio thread, just before the block; the indices of
            // threshold, attack and decay.
            const auto automate = [&]
            { effect->setParameter (effect, 2 + block % 3, (block / 3) % 2 == 0 ? 0.25f : 0.75f); };
            const auto process = [&]
            { effect->processReplacing (effect, inputs, outputs, numSamples); };

            if (block < warmUpBlocks)
            {
                automate();
                process();
            }
            else
            {
                countInto (counts, [&]
                           { automate(); process(); });
                expectedPieces += (numSamples + prepared - 1) / prepared;
            }
        }

        if (AudioThreadProbe::countsMalloc())
        {
            EXPECT_EQ (counts.allocations, 0) << traceHint;
            EXPECT_EQ (counts.frees, 0) << traceHint;
        }

        // The callback lock for each piece, and one listener lock for the new value each block brings.
        EXPECT_EQ (counts.locks, expectedPieces + countedBlocks) << traceHint;
    }
}
