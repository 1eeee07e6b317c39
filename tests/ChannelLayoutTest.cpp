// The layouts the processor accepts in-process must be the ones every format wrapper offers.
#include "PelmoraTacetorAudioProcessor.h"

#include <gtest/gtest.h>

namespace
{
bool accepts (int inputs, int outputs)
{
    PelmoraTacetorAudioProcessor processor;
    juce::AudioProcessor::BusesLayout layout;
    layout.inputBuses.add (juce::AudioChannelSet::canonicalChannelSet (inputs));
    layout.outputBuses.add (juce::AudioChannelSet::canonicalChannelSet (outputs));
    return processor.checkBusesLayoutSupported (layout) && processor.setBusesLayout (layout);
}
} // namespace

TEST (ChannelLayout, AcceptsStereoAndMonoPairsOnly)
{
    EXPECT_TRUE (accepts (2, 2));
    EXPECT_TRUE (accepts (1, 1));
    EXPECT_FALSE (accepts (1, 2));
    EXPECT_FALSE (accepts (2, 1));
    EXPECT_FALSE (accepts (0, 2));
    EXPECT_FALSE (accepts (6, 6));

    PelmoraTacetorAudioProcessor processor;
    EXPECT_EQ (processor.getTotalNumInputChannels(), 2);
    EXPECT_EQ (processor.getTotalNumOutputChannels(), 2);
    EXPECT_EQ (processor.getBus (true, 0)->getName(), "Input");
    EXPECT_EQ (processor.getBus (false, 0)->getName(), "Output");
}
