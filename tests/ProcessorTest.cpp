// The processor as hosts see it: parameters inside program slots, notifications, out-of-range
// indices, what reaches the gate at the start of a block, and the channel layouts.
#include "PelmoraTacetorAudioProcessor.h"
#include "dsp/SkewCurve.h"
#include "support/AnyLayoutProcessor.h"
#include "support/GateTestSupport.h"
#include "support/RecordingListener.h"

#include <gtest/gtest.h>

#include <limits>
#include <thread>

namespace
{
/** A processor with a listener attached and the change flag cleared. */
struct ListenedProcessor
{
    ListenedProcessor() { processor.parametersChanged_ = false; }

    PelmoraTacetorAudioProcessor processor;
    RecordingListener listener { processor };
};

/** The gate's stored values, marked with a value no push ever brings, so that a test can see
    which of them the next block overwrites. */
void markGateValues (PelmoraTacetorAudioProcessor& processor)
{
    // Deliberately reaching past the const accessor: this is the gate's own parameter store.
    float* stored = const_cast<NoiseGate&> (processor.getGate()).getParameters();
    std::fill (stored, stored + NoiseGate::numGateParameters, -7.0f);
}

void processConstant (PelmoraTacetorAudioProcessor& processor, float value = 0.0f)
{
    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    for (int channel = 0; channel < 2; ++channel)
        juce::FloatVectorOperations::fill (buffer.getWritePointer (channel), value, 64);

    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
}

/** The five values the gate holds. */
std::vector<float> gateValues (const PelmoraTacetorAudioProcessor& processor)
{
    std::vector<float> values;
    for (int index = 0; index < NoiseGate::numGateParameters; ++index)
        values.push_back (processor.getGate().getParameter (index));
    return values;
}

juce::AudioProcessor::BusesLayout layout (const juce::AudioChannelSet& in, const juce::AudioChannelSet& out)
{
    juce::AudioProcessor::BusesLayout buses;
    buses.inputBuses.add (in);
    buses.outputBuses.add (out);
    return buses;
}
} // namespace

TEST (Processor, AFreshProcessorAnswersItsDefaults)
{
    PelmoraTacetorAudioProcessor processor;
    EXPECT_EQ (processor.getName(), "Pelmora Tacetor");
    EXPECT_EQ (processor.getNumParameters(), 5);
    EXPECT_EQ (processor.getNumPrograms(), 12);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_FALSE (processor.parametersChanged_);

    for (int program = 0; program < 12; ++program)
        EXPECT_EQ (processor.getProgramName (program), "Init");

    const float defaults[] = { 1.0f, 0.0f, 0.0f, 0.134f, 0.367f };
    const char* names[] = { "bypass", "dualmono", "threshold", "attack", "decay" };
    const char* texts[] = { "On", "Off", "-oo", "2.00 ms", "100.42 ms" };

    for (int index = 0; index < 5; ++index)
    {
        EXPECT_EQ (processor.getParameter (index), defaults[index]);
        EXPECT_EQ (processor.getParameterDefaultValue (index), defaults[index]);
        EXPECT_EQ (processor.getParameterName (index), names[index]);
        EXPECT_EQ (processor.getParameterText (index), texts[index]);
    }

    for (const int index : { -1, 5, 1000 })
    {
        EXPECT_EQ (processor.getParameter (index), 0.0f);
        EXPECT_EQ (processor.getParameterName (index), "");
        EXPECT_EQ (processor.getParameterText (index), "");
    }

    EXPECT_EQ (processor.getInputChannelName (0), "1");
    EXPECT_EQ (processor.getOutputChannelName (1), "2");

    // Inherited answers hosts rely on: every parameter continuous, no unit label.
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")
    juce::AudioProcessor& base = processor;
    EXPECT_EQ (base.getParameterNumSteps (0), 0x7fffffff);
    EXPECT_EQ (base.getParameterLabel (2), "");
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

TEST (Processor, ParameterWritesEditTheCurrentProgramAndRaiseTheFlag)
{
    ListenedProcessor p;
    auto& processor = p.processor;
    processor.setParameter (2, 0.5f);
    EXPECT_TRUE (processor.parametersChanged_);
    EXPECT_EQ (processor.getParameter (2), 0.5f);
    EXPECT_EQ (processor.getParameterText (2), "-32.04 dB");
    EXPECT_TRUE (p.listener.changes.empty()); // hosts and the editor announce their own writes

    processor.setCurrentProgram (1);
    EXPECT_EQ (processor.getParameter (2), 0.0f);
    processor.setCurrentProgram (0);
    EXPECT_EQ (processor.getParameter (2), 0.5f);

    // The switches keep the value as written; only the gate reduces them to on and off.
    processor.setParameter (0, 0.25f);
    EXPECT_EQ (processor.getParameter (0), 0.25f);
    EXPECT_EQ (processor.getParameterText (0), "On");
}

TEST (Processor, IndicesOutsideTheTablesChangeNothingAndNotifyNobody)
{
    ListenedProcessor p;
    auto& processor = p.processor;

    for (const int index : { 5, -1, std::numeric_limits<int>::min() })
    {
        processor.setParameter (index, 0.9f);
        EXPECT_FALSE (processor.parametersChanged_) << index;
    }

    for (const int program : { 12, -1, std::numeric_limits<int>::max() })
        processor.setCurrentProgram (program);

    EXPECT_FALSE (processor.parametersChanged_);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_TRUE (p.listener.changes.empty());

    for (int index = 0; index < 5; ++index)
        EXPECT_EQ (processor.getParameter (index), processor.getParameterDefaultValue (index));
}

TEST (Processor, SelectingAProgramAnnouncesAllFiveValuesEvenWhenAlreadyCurrent)
{
    ListenedProcessor p;
    auto& processor = p.processor;
    processor.setCurrentProgram (3);
    processor.setParameter (2, 0.25f);
    processor.setParameter (1, 1.0f);
    p.listener.changes.clear();
    processor.parametersChanged_ = false;

    processor.setCurrentProgram (3);
    const std::vector<std::pair<int, float>> program3 { { 0, 1.0f }, { 1, 1.0f }, { 2, 0.25f }, { 3, 0.134f }, { 4, 0.367f } };
    EXPECT_EQ (p.listener.changes, program3);
    EXPECT_TRUE (processor.parametersChanged_);

    p.listener.changes.clear();
    processor.setCurrentProgram (7);
    const std::vector<std::pair<int, float>> program7 { { 0, 1.0f }, { 1, 0.0f }, { 2, 0.0f }, { 3, 0.134f }, { 4, 0.367f } };
    EXPECT_EQ (p.listener.changes, program7);
    EXPECT_EQ (processor.getCurrentProgram(), 7);
}

TEST (Processor, RenamingAProgramTellsTheHostTheNamesChangedAndAnnouncesNoValues)
{
    ListenedProcessor p;
    auto& processor = p.processor;
    processor.changeProgramName (4, "Tight");
    EXPECT_EQ (processor.getProgramName (4), "Tight");
    EXPECT_EQ (processor.getProgramName (3), "Init");
    EXPECT_FALSE (processor.parametersChanged_);
    EXPECT_TRUE (p.listener.changes.empty());
    EXPECT_EQ (p.listener.programUpdates, 1);

    // Outside the table nothing is touched, answered or told.
    processor.changeProgramName (12, "Nowhere");
    processor.changeProgramName (-1, "Nowhere");
    EXPECT_EQ (processor.getProgramName (12), "");
    EXPECT_EQ (processor.getProgramName (-1), "");
    EXPECT_EQ (p.listener.programUpdates, 1);
}

TEST (Processor, ARestoreAnnouncesItsProgramAndTellsTheHostTheNamesChanged)
{
    PelmoraTacetorAudioProcessor source;
    source.setCurrentProgram (5);
    source.setParameter (2, 0.75f);
    source.changeProgramName (5, "Five");
    juce::MemoryBlock chunk;
    source.getStateInformation (chunk);

    ListenedProcessor p;
    p.processor.setStateInformation (chunk.getData(), static_cast<int> (chunk.getSize()));
    const std::vector<std::pair<int, float>> program5 { { 0, 1.0f }, { 1, 0.0f }, { 2, 0.75f }, { 3, 0.134f }, { 4, 0.367f } };
    EXPECT_EQ (p.listener.changes, program5);
    EXPECT_EQ (p.listener.programUpdates, 1);

    // A block it ignores tells nothing.
    p.processor.setStateInformation (chunk.getData(), 8);
    EXPECT_EQ (p.listener.programUpdates, 1);
}

// JUCE's VST3 wrapper reports what is announced off its message thread from the next
// process() call, with the value given; so there the values wait for the next block.
TEST (Processor, InAVst3HostAProgramSelectedOffTheMessageThreadIsAnnouncedFromTheNextBlock)
{
    // Made as JUCE's VST3 wrapper makes it.
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_VST3);
    ListenedProcessor p;
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);
    auto& processor = p.processor;
    ASSERT_EQ (processor.wrapperType, juce::AudioProcessor::wrapperType_VST3);
    processor.prepareToPlay (48000.0, 64);

    std::thread hostThread ([&processor]
                            { processor.setCurrentProgram (6); });
    hostThread.join();
    EXPECT_EQ (processor.getCurrentProgram(), 6);
    EXPECT_TRUE (processor.parametersChanged_);
    EXPECT_TRUE (p.listener.changes.empty());

    // A write the host makes before the block is what the block announces.
    processor.setParameter (3, 0.5f);
    juce::AudioBuffer<float> buffer (2, 64);
    buffer.clear();
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    const std::vector<std::pair<int, float>> program6 { { 0, 1.0f }, { 1, 0.0f }, { 2, 0.0f }, { 3, 0.5f }, { 4, 0.367f } };
    EXPECT_EQ (p.listener.changes, program6);

    // Once: the next block announces nothing, and neither does a bypassed one.
    p.listener.changes.clear();
    processor.processBlock (buffer, midi);
    processor.processBlockBypassed (buffer, midi);
    EXPECT_TRUE (p.listener.changes.empty());

    // A host that bypasses the plug-in still hears the program it selects.
    std::thread ([&processor]
                 { processor.setCurrentProgram (2); })
        .join();
    processor.processBlockBypassed (buffer, midi);
    EXPECT_EQ (p.listener.changes.size(), 5u);

    // On the message thread, and in every other format, the values go out at once.
    p.listener.changes.clear();
    processor.setCurrentProgram (6);
    EXPECT_EQ (p.listener.changes, program6);
}

TEST (Processor, PreparingSizesResetsAndLoadsTheGate)
{
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    EXPECT_EQ (processor.getGate().getMaxBlockSize(), 16384);
    processor.prepareToPlay (96000.0, 32768);
    EXPECT_EQ (processor.getGate().getMaxBlockSize(), 32768);
    EXPECT_EQ (processor.getGate().getSampleRate(), 96000.0f);
    EXPECT_EQ (processor.getGate().getFadeLength(), 4096);

    // All five values of the current program, switches reduced to 1 or 0, latched without a fade.
    processor.setParameter (0, 0.5f);
    processor.setParameter (1, 0.3f);
    processor.setParameter (2, 0.5f);
    processor.setParameter (3, 0.0f);
    processConstant (processor, 0.5f);
    EXPECT_EQ (processor.getGate().getEnvelopeA(), 1.0f);
    processor.prepareToPlay (44100.0, 256);
    EXPECT_EQ (gateValues (processor), (std::vector<float> { 1.0f, 1.0f, 0.5f, 0.0f, 0.367f }));
    EXPECT_EQ (processor.getGate().getFadeState(), NoiseGate::Active);
    EXPECT_EQ (processor.getGate().getEnvelopeA(), 0.0f);

    processor.setParameter (0, 0.0f);
    processor.prepareToPlay (44100.0, 256);
    EXPECT_EQ (processor.getGate().getFadeState(), NoiseGate::Bypassed);
}

TEST (Processor, EachBlockPushesExactlyTheValuesThatChanged)
{
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    processConstant (processor);

    markGateValues (processor);
    processConstant (processor);
    processConstant (processor);
    EXPECT_EQ (gateValues (processor), std::vector<float> (5, -7.0f)) << "nothing changed, nothing pushed";

    processor.setParameter (2, 0.3f);
    processConstant (processor);
    EXPECT_EQ (gateValues (processor), (std::vector<float> { -7.0f, -7.0f, 0.3f, -7.0f, -7.0f }));
    EXPECT_EQ (processor.getGate().getThresholdLinear(), skewCurve (0.3f * 0.3f));

    // The switches reach the gate as exactly 0 or 1, and only when the on/off state changes;
    // the on switch starts the crossfade before the block is processed.
    markGateValues (processor);
    processor.setParameter (0, 0.0f);
    processConstant (processor);
    EXPECT_EQ (processor.getGate().getParameter (0), 0.0f);
    EXPECT_EQ (processor.getGate().getFadeState(), NoiseGate::FadingOut);

    processor.setParameter (0, 0.5f);
    processConstant (processor);
    EXPECT_EQ (processor.getGate().getParameter (0), 1.0f);
    EXPECT_EQ (processor.getGate().getFadeState(), NoiseGate::FadingIn);

    markGateValues (processor);
    processor.setParameter (0, 0.7f);
    processConstant (processor);
    processor.setParameter (0, 0.9f);
    processor.setParameter (1, -0.5f); // still off
    processConstant (processor);
    EXPECT_EQ (gateValues (processor), std::vector<float> (5, -7.0f));

    processor.setParameter (1, 0.01f);
    processor.setParameter (3, 0.6f);
    processor.setParameter (4, 0.1f);
    processConstant (processor);
    EXPECT_EQ (gateValues (processor), (std::vector<float> { -7.0f, 1.0f, -7.0f, 0.6f, 0.1f }));

    // A value that is not a number never equals the last one pushed, so it goes every block.
    processor.setParameter (2, std::numeric_limits<float>::quiet_NaN());
    processConstant (processor);
    markGateValues (processor);
    processConstant (processor);
    EXPECT_TRUE (std::isnan (processor.getGate().getParameter (2)));

    // A program change reaches the gate the same way, at the next block.
    markGateValues (processor);
    processor.setCurrentProgram (5);
    processConstant (processor);
    EXPECT_EQ (gateValues (processor), (std::vector<float> { -7.0f, 0.0f, 0.0f, 0.134f, 0.367f }));
}

TEST (Processor, EveryLayoutProcessesTheRightChannels)
{
    struct Case
    {
        juce::AudioChannelSet in, out;
        int bufferChannels;
        bool stereoGate;
        bool copyToRight;
    };

    const Case cases[] = {
        { juce::AudioChannelSet::stereo(), juce::AudioChannelSet::stereo(), 2, true, false },
        { juce::AudioChannelSet::mono(), juce::AudioChannelSet::mono(), 1, false, false },
        { juce::AudioChannelSet::mono(), juce::AudioChannelSet::stereo(), 2, false, true },
        { juce::AudioChannelSet::stereo(), juce::AudioChannelSet::mono(), 2, true, false },
    };

    const GateValues values { 1.0f, 1.0f, 0.4f, 0.2f, 0.3f };
    const auto left = makeNoise (4096, 0.3f, 51);
    const auto right = makeNoise (4096, 0.2f, 52);

    for (const auto& c : cases)
    {
        AnyLayoutProcessor processor;
        ASSERT_TRUE (processor.setBusesLayout (layout (c.in, c.out)));
        for (int index = 0; index < 5; ++index)
            processor.setParameter (index, values[static_cast<size_t> (index)]);
        processor.prepareToPlay (44100.0, 4096);

        juce::AudioBuffer<float> buffer (c.bufferChannels, 4096);
        buffer.copyFrom (0, 0, left.data(), 4096);
        if (c.bufferChannels > 1)
            buffer.copyFrom (1, 0, right.data(), 4096);
        juce::MidiBuffer midi;
        processor.processBlock (buffer, midi);

        NoiseGate twin;
        prepareGate (twin, 44100.0f, values);
        auto expectedLeft = left;
        auto expectedRight = right;
        if (c.stereoGate)
            twin.processStereo (expectedLeft.data(), expectedRight.data(), 4096);
        else
            twin.processMono (expectedLeft.data(), 4096);
        if (c.copyToRight)
            expectedRight = expectedLeft;

        const auto channel = [&buffer] (int index)
        {
            return std::vector<float> (buffer.getReadPointer (index), buffer.getReadPointer (index) + 4096);
        };

        EXPECT_TRUE (sameBits (channel (0), expectedLeft)) << c.in.getDescription() << " > " << c.out.getDescription();
        if (c.bufferChannels > 1)
        {
            EXPECT_TRUE (sameBits (channel (1), expectedRight)) << c.in.getDescription() << " > " << c.out.getDescription();
        }
    }
}
