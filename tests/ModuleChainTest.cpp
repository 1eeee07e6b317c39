// The module chain under the gate: names, the parameter table, what setSampleRate alone does,
// and process(), which dispatches a block by input channel count.
#include "support/GateTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

TEST (ModuleChain, AFreshGateAnswersItsTable)
{
    const DspBase unnamed;
    EXPECT_STREQ (unnamed.getName(), "");
    EXPECT_EQ (unnamed.getSampleRate(), 44100.0f);

    NoiseGate gate;
    EXPECT_STREQ (gate.getName(), "Noise Gate");
    EXPECT_EQ (gate.getNumParameters(), 5);
    EXPECT_EQ (gate.getTempo(), 120.0f);
    EXPECT_FALSE (gate.hasOption());
    EXPECT_EQ (gate.getNumInputChannels(), 1);

    const char* names[] = { "Bypass", "DualMonoOn", "Threshold", "Attack", "Decay" };
    for (int index = 0; index < 5; ++index)
    {
        EXPECT_STREQ (gate.getParameterName (index), names[index]);
        EXPECT_EQ (gate.getParameter (index), defaultGateValues[static_cast<size_t> (index)]);
        EXPECT_EQ (gate.getParameterDefault (index), defaultGateValues[static_cast<size_t> (index)]);
    }

    for (const int index : { -1, 5 })
    {
        EXPECT_STREQ (gate.getParameterName (index), "");
        EXPECT_EQ (gate.getParameterDefault (index), 0.0f);
        EXPECT_EQ (gate.getParameter (index), 0.0f);
    }

    // Built at 44.1 kHz with the defaults: the envelopes start closed.
    EXPECT_EQ (gate.getEnvelopeA(), 0.0f);
    EXPECT_EQ (gate.getAttackCoefficient(), std::exp (-1000.0f / (((std::pow (81.0f, 0.134f) - 1.0f) * 0.0125f) * 200.0f * 44100.0f)));
}

TEST (ModuleChain, IndicesOutsideTheTableAndARateAloneChangeNothing)
{
    NoiseGate gate;
    prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 0.5f, 0.3f, 0.4f });
    const float threshold = gate.getThresholdLinear();
    const float attack = gate.getAttackCoefficient();

    gate.setParameter (5, 0.9f);
    gate.setParameter (-1, 0.9f);
    gate.parameterChanged (7);
    for (int index = 0; index < 5; ++index)
        EXPECT_NE (gate.getParameter (index), 0.9f);
    EXPECT_EQ (gate.getThresholdLinear(), threshold);

    // The rate is taken up only when the owner pushes the values again.
    gate.setSampleRate (96000.0f);
    EXPECT_EQ (gate.getAttackCoefficient(), attack);
    gate.setParameter (3, 0.3f);
    EXPECT_GT (gate.getAttackCoefficient(), attack);
}

TEST (ModuleChain, ProcessDispatchesByInputChannelCount)
{
    const auto first = makeNoise (1000, 0.3f, 61);
    const auto second = makeNoise (1000, 0.2f, 62);
    const GateValues values { 1.0f, 0.0f, 0.4f, 0.2f, 0.3f };

    NoiseGate twin;
    prepareGate (twin, 44100.0f, values);
    auto monoExpected = first;
    twin.processMono (monoExpected.data(), 1000);
    prepareGate (twin, 44100.0f, values);
    auto stereoLeft = first, stereoRight = second;
    twin.processStereo (stereoLeft.data(), stereoRight.data(), 1000);

    const std::tuple<int, std::vector<float>, std::vector<float>> cases[] = {
        { 1, monoExpected, monoExpected }, // the processed mono signal in both buffers
        { 2, stereoLeft, stereoRight },
        { 0, first, second },              // any other count leaves both alone
        { 3, first, second },
    };

    for (const auto& [channels, expectedFirst, expectedSecond] : cases)
    {
        NoiseGate gate;
        prepareGate (gate, 44100.0f, values);
        gate.setNumInputChannels (channels);
        auto a = first, b = second;
        gate.process (a.data(), b.data(), 1000);
        EXPECT_TRUE (sameBits (a, expectedFirst)) << channels;
        EXPECT_TRUE (sameBits (b, expectedSecond)) << channels;
    }
}
