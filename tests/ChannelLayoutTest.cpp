// The layouts the processor accepts in-process must be the ones every format wrapper offers.
#include "PelmoraTacetorAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
using Set = juce::AudioChannelSet;

bool accepts (const Set& inputs, const Set& outputs, juce::AudioProcessor::WrapperType type = juce::AudioProcessor::wrapperType_Undefined)
{
    juce::AudioProcessor::setTypeOfNextNewPlugin (type);
    PelmoraTacetorAudioProcessor processor;
    juce::AudioProcessor::setTypeOfNextNewPlugin (juce::AudioProcessor::wrapperType_Undefined);

    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (inputs);
    layout.outputBuses.add (outputs);
    return processor.checkBusesLayoutSupported (layout) && processor.setBusesLayout (layout);
}

bool accepts (int inputs, int outputs)
{
    return accepts (Set::canonicalChannelSet (inputs), Set::canonicalChannelSet (outputs));
}

const Set centreAndLfe = Set::channelSetWithChannels ({ Set::centre, Set::LFE });
const Set sidePair = Set::channelSetWithChannels ({ Set::leftSurroundSide, Set::rightSurroundSide });
} // namespace

TEST (ChannelLayout, AcceptsStereoAndMonoPairsOnly)
{
    EXPECT_TRUE (accepts (2, 2));
    EXPECT_TRUE (accepts (1, 1));
    EXPECT_FALSE (accepts (1, 2));
    EXPECT_FALSE (accepts (2, 1));
    EXPECT_FALSE (accepts (0, 2));
    EXPECT_FALSE (accepts (6, 6));

    // Two channels are stereo only when they are left and right.
    EXPECT_FALSE (accepts (Set::stereo(), centreAndLfe));
    EXPECT_FALSE (accepts (sidePair, sidePair));
    EXPECT_FALSE (accepts (Set::discreteChannels (2), Set::discreteChannels (2)));

    PelmoraTacetorAudioProcessor processor;
    EXPECT_EQ (processor.getTotalNumInputChannels(), 2);
    EXPECT_EQ (processor.getTotalNumOutputChannels(), 2);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
}

// VST2 hosts describe a two-channel track with arrangement types of every kind, so in JUCE's
// VST2 wrapper the counts alone decide, as they always did there.
TEST (ChannelLayout, InAVst2HostTheChannelCountsDecide)
{
    const auto vst2 = juce::AudioProcessor::wrapperType_VST;
    EXPECT_TRUE (accepts (Set::stereo(), centreAndLfe, vst2));
    EXPECT_TRUE (accepts (sidePair, sidePair, vst2));
    EXPECT_TRUE (accepts (Set::mono(), Set::mono(), vst2));
    EXPECT_FALSE (accepts (Set::mono(), Set::stereo(), vst2));
    EXPECT_FALSE (accepts (Set::create5point1(), Set::create5point1(), vst2));
}
