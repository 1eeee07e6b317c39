// What the built VST3, LV2 and VST2 plug-ins do on the host's audio thread, counted inside the
// host's process call: the format wrapper's work and ours. JUCE 7.0.5's wrappers have a share of
// their own that no setting of ours removes, so each expectation is exactly that share; anything
// our entry points or processor add shows up as a difference. JUCE's share:
//  - VST3 (juce_VST3Common.h, ClientBufferMapperData::setUpInputChannels): each input bus's
//    channel map is copied by value, vector included, active or not, so every call into the
//    wrapper's process() that carries audio allocates and frees once. Around processing it takes
//    the processor's callback lock, and each parameter change that brings a new value takes that
//    parameter's listener lock while it is announced.
//  - LV2 (juce_LV2_Client.cpp, run): the buffer is resized to each block keeping its contents,
//    and AudioBuffer::setSize then reallocates whenever the block is longer than the previous
//    one, whatever was prepared. The same two locks.
//  - VST2 (juce_VST_Wrapper.cpp, internalProcessReplacing): no allocation once running; the same
//    two locks, the first for each piece a long block is cut into, the second taken by the
//    host's setParameter.
// Nothing ever holds the callback lock elsewhere (nothing suspends processing); the listener
// lock is held elsewhere only while a value is announced from another thread (an editor
// gesture, a program change, restored state).
#include "PluginBundleHost.h"
#include "support/AudioThreadProbe.h"
#include "support/Vst2TestHost.h"

#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstevents.h>
#include <pluginterfaces/vst/ivstparameterchanges.h>
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

/** A host-side object of one SDK interface that lives on the test's stack: no counting of
    references, no other interfaces. */
template <typename Interface>
class StackObject : public Interface
{
public:
    tresult PLUGIN_API queryInterface (const TUID, void** object) override
    {
        *object = nullptr;
        return kNoInterface;
    }

    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
};

/** One parameter's automation in a block, as a host queues it: a ramp of two points. */
class RampQueue final : public StackObject<Vst::IParamValueQueue>
{
public:
    Vst::ParamID id = 0;
    Vst::ParamValue from = 0.0, to = 0.0;
    int32 lastSample = 0;

    Vst::ParamID PLUGIN_API getParameterId() override { return id; }
    int32 PLUGIN_API getPointCount() override { return 2; }

    tresult PLUGIN_API getPoint (int32 index, int32& sampleOffset, Vst::ParamValue& value) override
    {
        if (index < 0 || index > 1)
            return kInvalidArgument;

        sampleOffset = index == 0 ? 0 : lastSample;
        value = index == 0 ? from : to;
        return kResultTrue;
    }

    tresult PLUGIN_API addPoint (int32, Vst::ParamValue, int32&) override { return kResultFalse; }
};

/** The host's parameter changes for one block: at most one queue in, anything out (dropped). */
class BlockParameterChanges final : public StackObject<Vst::IParameterChanges>
{
public:
    RampQueue queue;
    bool hasChange = false;

    int32 PLUGIN_API getParameterCount() override { return hasChange ? 1 : 0; }
    Vst::IParamValueQueue* PLUGIN_API getParameterData (int32 index) override { return hasChange && index == 0 ? &queue : nullptr; }
    Vst::IParamValueQueue* PLUGIN_API addParameterData (const Vst::ParamID&, int32& index) override
    {
        index = 0;
        return nullptr;
    }
};

/** A note-on at the start of every block: hosts send events even to plug-ins without an event
    bus, and the plug-in must simply not look. */
class NoteEvents final : public StackObject<Vst::IEventList>
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
} // namespace

TEST (FormatAudioThread, Vst3ProcessAddsNothingToTheWrappersShare)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error, 48000.0, prepared);
    ASSERT_NE (plugin, nullptr) << error;

    // JUCE's host sets the component up and activates it; the blocks then go straight to the
    // component's process(), so that only the bundle's work is counted.
    plugin->prepareToPlay (48000.0, prepared);
    struct ComponentOf final : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }
        Vst::IComponent* component = nullptr;
    } visitor;
    plugin->getExtensions (visitor);
    auto* component = visitor.component;
    ASSERT_NE (component, nullptr);
    Vst::IAudioProcessor* audio = nullptr;
    ASSERT_EQ (component->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&audio)), kResultOk);

    // Longer than announced: the entry point cuts such blocks into announced-size pieces.
    constexpr int longest = 2 * prepared + 300;
    juce::AudioBuffer<float> input (2, longest), output (2, longest);
    Vst::AudioBusBuffers inputBus {}, outputBus {};
    inputBus.numChannels = outputBus.numChannels = 2;
    float* inputs[] = { input.getWritePointer (0), input.getWritePointer (1) };
    float* outputs[] = { output.getWritePointer (0), output.getWritePointer (1) };
    inputBus.channelBuffers32 = inputs;
    outputBus.channelBuffers32 = outputs;

    BlockParameterChanges changesIn, changesOut;
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
        fillTestSignal (input.getArrayOfWritePointers(), 2, numSamples, block);

        // Automation of threshold, attack or decay (their indices are their VST3 IDs) in every
        // block; every fifth block repeats the value the parameter already has.
        const int automated = block % 3;
        const bool repeated = block % 5 == 3 && block >= 3;

        if (! repeated)
            current[automated] = current[automated] == 0.25 ? 0.75 : 0.25;

        changesIn.hasChange = true;
        changesIn.queue.id = static_cast<Vst::ParamID> (2 + automated);
        changesIn.queue.from = 0.5;
        changesIn.queue.to = current[automated];
        changesIn.queue.lastSample = std::max (0, numSamples - 1);

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

    // One channel-map copy and one callback lock for each call into JUCE's process() that
    // carries audio; one listener lock for each new value.
    if (AudioThreadProbe::countsMalloc())
    {
        EXPECT_EQ (counts.allocations, expectedCalls) << traceHint;
        EXPECT_EQ (counts.frees, expectedCalls) << traceHint;
    }

    EXPECT_EQ (counts.locks, expectedCalls + expectedNewValues) << traceHint;
}

TEST (FormatAudioThread, Lv2RunAddsNothingToTheWrappersShare)
{
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
        // LV2 hosts never exceed the announced length.
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

    // A new buffer for each block longer than the one before; the callback lock, and one
    // listener lock for the new value each block brings.
    if (AudioThreadProbe::countsMalloc())
    {
        EXPECT_EQ (counts.allocations, growingBlocks) << traceHint;
        EXPECT_EQ (counts.frees, growingBlocks) << traceHint;
    }

    EXPECT_EQ (counts.locks, 2 * countedBlocks) << traceHint;
}

TEST (FormatAudioThread, Vst2ProcessAddsNothingToTheWrappersShare)
{
    Vst2TestHost host (TACETOR_VST2_PLUGIN);
    ASSERT_TRUE (host.isLoaded());
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);
    Vst2TestHost::resume (effect, 48000.0f, prepared);

    // Longer than announced, with the right output disabled (no buffer): the entry point cuts
    // such blocks into announced-size pieces, and JUCE gates through a scratch channel it makes
    // in the first block.
    constexpr int longest = 2 * prepared + 300;
    juce::AudioBuffer<float> buffer (2, longest);
    float* inputs[] = {buffer.getWritePointer (0), buffer.getWritePointer (1)};
    float* outputs[] = {buffer.getWritePointer (0), nullptr};
    Counts counts;
    long expectedPieces = 0;

    for (int block = 0; block < warmUpBlocks + countedBlocks; ++block)
    {
        const int numSamples = blockLength (block, longest);
        fillTestSignal (inputs, 2, numSamples, block);

        // VST2 hosts automate on the audio thread, just before the block; the indices of
        // threshold, attack and decay.
        const auto automate = [&] { effect->setParameter (effect, 2 + block % 3, (block / 3) % 2 == 0 ? 0.25f : 0.75f); };
        const auto process = [&] { effect->processReplacing (effect, inputs, outputs, numSamples); };

        if (block < warmUpBlocks)
        {
            automate();
            process();
        }
        else
        {
            countInto (counts, [&] { automate(); process(); });
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
