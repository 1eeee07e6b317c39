#include "PelmoraTacetorAudioProcessor.h"

#include <gtest/gtest.h>

TEST (ProcessorSmoke, FreshProcessorAnswersFiveParametersAndTwelvePrograms)
{
    PelmoraTacetorAudioProcessor processor;
    EXPECT_EQ (processor.getName(), "Pelmora Tacetor");
    EXPECT_EQ (processor.getNumPrograms(), 12);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (11), "Init");
}
