// A host selects a program and, before the next block, writes a parameter, the way a DAW user
// turns a knob just after picking a preset. Through each built format: the host hears all five
// values of the new program, and its write survives the block and is what the plug-in saves.
#include "PelmoraTacetorAudioProcessor.h"
#include "PluginBundleHost.h"
#include "support/AudioThreadProbe.h"
#include "support/HostProjects.h"
#include "support/Vst2TestHost.h"
#include "support/Vst3HostSide.h"

#include <gtest/gtest.h>
#include <set>

namespace
{
using namespace HostProjects;

constexpr int program = 3;
constexpr float written = 0.5f; // the host's threshold, written after selecting the program
constexpr int blockSize = 256;

/** Every program with values of its own, so that a value tells which program it came from. */
std::array<float, 5> valuesOf (int index)
{
    const auto p = static_cast<float> (index);
    return { 1.0f, 1.0f, 0.02f + 0.05f * p, 0.03f + 0.04f * p, 0.7f - 0.03f * p };
}

juce::MemoryBlock chunkWithDistinctPrograms()
{
    PelmoraTacetorAudioProcessor processor;

    for (int index = 0; index < 12; ++index)
    {
        processor.setCurrentProgram (index);

        for (int i = 0; i < 5; ++i)
            processor.setParameter (i, valuesOf (index)[static_cast<size_t> (i)]);
    }

    processor.setCurrentProgram (0);
    juce::MemoryBlock chunk;
    processor.getStateInformation (chunk);
    return chunk;
}

/** The selected program's values with the host's write, as the plug-in saved them. */
void expectSavedWithTheWrite (const std::optional<SettingsChunk::Contents>& saved, int selected)
{
    ASSERT_TRUE (saved.has_value());
    EXPECT_EQ (saved->activePreset, selected);
    ASSERT_TRUE (juce::isPositiveAndBelow (selected, 12));
    auto expected = valuesOf (selected);
    expected[2] = written;

    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ (saved->programs[static_cast<size_t> (selected)].values[i], expected[i]) << "parameter " << i;
}

juce::AudioProcessorParameter* parameterNamed (juce::AudioProcessor& plugin, const juce::String& name)
{
    for (auto* parameter : plugin.getParameters())
        if (parameter->getName (64) == name)
            return parameter;

    return nullptr;
}

void oneBlock (juce::AudioPluginInstance& plugin)
{
    juce::AudioBuffer<float> buffer (2, blockSize);
    buffer.clear();
    juce::MidiBuffer midi;
    plugin.processBlock (buffer, midi);
}
} // namespace

TEST (ProgramChangeRace, Vst3HostWriteAfterAProgramChangeSurvivesTheNextBlock)
{
    using namespace Steinberg;

    juce::String error;
    auto plugin = PluginBundleHost::loadVst3 (juce::File (TACETOR_VST3_BUNDLE), error, 48000.0, blockSize);
    ASSERT_NE (plugin, nullptr) << error;
    plugin->prepareToPlay (48000.0, blockSize);
    const auto project = vst3ProjectWith (chunkWithDistinctPrograms());
    plugin->setStateInformation (project.getData(), static_cast<int> (project.getSize()));

    // The host selects the program and writes the threshold from its own thread, which is not
    // JUCE's message thread inside the plug-in (a host's usual case on Linux).
    plugin->setCurrentProgram (program);
    auto* threshold = parameterNamed (*plugin, "threshold");
    ASSERT_NE (threshold, nullptr);
    threshold->setValueNotifyingHost (written);

    // The next block, straight to the component as the host sends it: its write in the queue,
    // the plug-in's changes recorded.
    auto* component = Vst3HostSide::componentOf (*plugin);
    ASSERT_NE (component, nullptr);
    Vst::IAudioProcessor* audio = nullptr;
    ASSERT_EQ (component->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&audio)), kResultOk);

    juce::AudioBuffer<float> input (2, blockSize), output (2, blockSize);
    input.clear();
    Vst::AudioBusBuffers inputBus {}, outputBus {};
    inputBus.numChannels = outputBus.numChannels = 2;
    float* inputs[] = { input.getWritePointer (0), input.getWritePointer (1) };
    float* outputs[] = { output.getWritePointer (0), output.getWritePointer (1) };
    inputBus.channelBuffers32 = inputs;
    outputBus.channelBuffers32 = outputs;

    Vst3HostSide::ParameterChanges changesIn, changesOut;
    changesIn.add (2, 0, written);
    Vst::ProcessData data;
    data.processMode = Vst::kRealtime;
    data.symbolicSampleSize = Vst::kSample32;
    data.numSamples = blockSize;
    data.numInputs = data.numOutputs = 1;
    data.inputs = &inputBus;
    data.outputs = &outputBus;
    data.inputParameterChanges = &changesIn;
    data.outputParameterChanges = &changesOut;
    AudioThreadProbe probe;
    const auto result = audio->process (data);
    probe.disarm();
    audio->release();
    EXPECT_EQ (result, kResultTrue);

    // Announcing from the block allocates nothing. Besides the callback lock around processing,
    // JUCE's path takes two short locks per value: the processor's listener lock and, where the
    // wrapper asks whether it runs on the message thread, the message manager's thread-id lock.
    if (AudioThreadProbe::countsMalloc())
    {
        EXPECT_EQ (probe.allocations(), 0);
        EXPECT_EQ (probe.frees(), 0);
    }

    EXPECT_EQ (probe.locks(), 1 + 2 * 5);

    // The host hears the program's five values as the block ran with them, and hands them to
    // the controller, as hosts do with a plug-in's changes.
    auto heard = valuesOf (program);
    heard[2] = written;

    for (Vst::ParamID id = 0; id < 5; ++id)
    {
        const auto value = changesOut.lastValueOf (id);
        ASSERT_TRUE (value.has_value()) << "parameter " << id << " was not reported";
        EXPECT_EQ (static_cast<float> (*value), heard[id]) << "parameter " << id;
        plugin->getParameters()[static_cast<int> (id)]->setValue (static_cast<float> (*value));
    }

    expectSavedWithTheWrite (savedBy (*plugin), program);
    plugin->releaseResources();
}

TEST (ProgramChangeRace, Lv2HostWriteAfterAProgramChangeSurvivesTheNextBlock)
{
    juce::String error;
    auto plugin = PluginBundleHost::loadLv2 (juce::File (TACETOR_LV2_BUNDLE), JucePlugin_LV2URI, error, 48000.0, blockSize);
    ASSERT_NE (plugin, nullptr) << error;
    plugin->prepareToPlay (48000.0, blockSize);
    juce::MemoryBlock fresh;
    plugin->getStateInformation (fresh);
    const auto project = lv2ProjectWith (fresh, chunkWithDistinctPrograms());
    plugin->setStateInformation (project.getData(), static_cast<int> (project.getSize()));
    oneBlock (*plugin);

    // JUCE's LV2 host lists the presets in the order lilv returns them, which sorts them by
    // where their nodes lie in memory, so the order changes with the allocator (it does under
    // ThreadSanitizer). Select each one: what the plug-in saves tells which program arrived,
    // and twelve different programs show that every change did.
    const char* const names[] = { "bypass", "dualmono", "threshold", "attack", "decay" };
    std::set<int> arrived;

    for (int hostProgram = 0; hostProgram < plugin->getNumPrograms(); ++hostProgram)
    {
        plugin->setCurrentProgram (hostProgram);
        parameterNamed (*plugin, "threshold")->setValueNotifyingHost (written);
        oneBlock (*plugin);

        const auto saved = savedBy (*plugin);
        ASSERT_TRUE (saved.has_value());
        arrived.insert (saved->activePreset);
        expectSavedWithTheWrite (saved, saved->activePreset);

        // The host heard the program's values with its own write.
        auto heard = valuesOf (saved->activePreset);
        heard[2] = written;

        for (size_t i = 0; i < 5; ++i)
            EXPECT_EQ (parameterNamed (*plugin, names[i])->getValue(), heard[i]) << names[i];
    }

    EXPECT_EQ (arrived.size(), 12u) << "a program change from the host did not arrive";
    plugin->releaseResources();
}

TEST (ProgramChangeRace, Vst2HostWriteAfterAProgramChangeSurvivesTheNextBlock)
{
    Vst2TestHost host (TACETOR_VST2_PLUGIN);
    ASSERT_TRUE (host.isLoaded());
    auto* effect = host.open();
    ASSERT_NE (effect, nullptr);
    Vst2TestHost::resume (effect, 48000.0f, blockSize);
    auto chunk = chunkWithDistinctPrograms();
    Vst2TestHost::dispatch (effect, Vst2::effSetChunk, 0, static_cast<Vst2::VstIntPtr> (chunk.getSize()), chunk.getData());

    const auto announcedBefore = Vst2TestHost::callsOf (effect).automated.size();
    Vst2TestHost::dispatch (effect, Vst2::effSetProgram, 0, program);
    effect->setParameter (effect, 2, written);

    juce::AudioBuffer<float> buffer (2, blockSize);
    buffer.clear();
    float* channels[] = { buffer.getWritePointer (0), buffer.getWritePointer (1) };
    effect->processReplacing (effect, channels, channels, blockSize);

    // The host heard the five values of the program when it selected it.
    const auto automated = Vst2TestHost::callsOf (effect).automated;
    ASSERT_EQ (automated.size(), announcedBefore + 5);

    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ (automated[announcedBefore + i], std::make_pair (static_cast<int> (i), valuesOf (program)[i]));

    const auto saved = Vst2TestHost::chunk (effect);
    expectSavedWithTheWrite (contentsOf (juce::MemoryBlock (saved.data(), saved.size())), program);
}
