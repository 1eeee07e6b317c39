// The module chain under the gate: names, what setSampleRate alone does, and process(), which
// dispatches a block by input channel count.
#include "support/GateTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

TEST (ModuleChain, NamesComeFromTheFinishedModule)
{
    const DspBase unnamed;
    EXPECT_STREQ (unnamed.getName(), "");
    const NoiseGate gate;
    EXPECT_STREQ (gate.getName(), "Noise Gate");
    EXPECT_STREQ (gate.getParameterName (4), "Decay");
    EXPECT_STREQ (gate.getParameterName (5), "");
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
        { 0, first, second }, // any other count leaves both alone
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

        // A negative count is no block at all, in any layout.
        gate.process (a.data(), b.data(), -1);
        EXPECT_TRUE (sameBits (a, expectedFirst) && sameBits (b, expectedSecond)) << channels;
    }
}
