// The demonstration the README's first command runs.
#include "Demo.h"
#include "GuitarPhrase.h"
#include "support/RenderTestSupport.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <gtest/gtest.h>

using namespace RenderTestSupport;

TEST (RenderDemo, GatesTheHumAndHissBetweenTheNotesOnlyWithATunedThreshold)
{
    ScratchFolder folder;
    juce::String report;
    const auto result = Demo::run (folder ("demo"), {}, report);
    ASSERT_TRUE (result.wasOk()) << result.getErrorMessage();

    const auto picture = juce::ImageFileFormat::loadFrom (folder ("demo/gate-demo.png"));
    EXPECT_GT (picture.getWidth(), 1000);
    EXPECT_GT (picture.getHeight(), 600);

    double rate = 0.0;
    const auto dry = readAudio (folder ("demo/guitar-dry.wav"), &rate);
    const auto byDefault = readAudio (folder ("demo/guitar-gated-default.wav"));
    const auto tuned = readAudio (folder ("demo/guitar-gated-tuned.wav"));
    ASSERT_GT (dry.getNumSamples(), 0);
    ASSERT_EQ (tuned.getNumSamples(), dry.getNumSamples());

    const GuitarPhrase phrase (rate);
    ASSERT_FALSE (phrase.getPauses().empty());

    for (const auto& pause : phrase.getPauses())
    {
        // The floor is audible, passes the default program, and is gone with the tuned one.
        const double floor = rmsDecibels (dry, 0, rate, pause.start, pause.end);
        EXPECT_GT (floor, -60.0);
        EXPECT_NEAR (rmsDecibels (byDefault, 0, rate, pause.start, pause.end), floor, 0.1);
        EXPECT_LT (rmsDecibels (tuned, 0, rate, pause.start, pause.end), floor - 6.0);
    }

    // The notes themselves pass the tuned gate.
    EXPECT_NEAR (rmsDecibels (tuned, 0, rate, 0.35, 0.9), rmsDecibels (dry, 0, rate, 0.35, 0.9), 0.1);
    EXPECT_TRUE (report.contains ("guitar-gated-tuned.wav")) << report;
}
