// Samples, parameter values and sample rates that are not numbers, infinite, subnormal or out of
// range: the gate may pass a bad sample through, but no bad value may stay in its envelopes or
// make any later output non-finite.
#include "PelmoraTacetorAudioProcessor.h"
#include "support/GateTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

namespace
{
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float tiny = std::numeric_limits<float>::denorm_min();

const std::vector<float> badSamples { notANumber, inf, -inf, FLT_MAX, -FLT_MAX, tiny, -1.0e-40f, notANumber, 0.0f, inf };
const std::vector<float> badValues { notANumber, inf, -inf, FLT_MAX, -FLT_MAX, -1.0f, 2.0f, 50.0f, tiny, -tiny };

bool allFinite (const std::vector<float>& samples)
{
    return std::all_of (samples.begin(), samples.end(), [] (float x)
                        { return std::isfinite (x); });
}

::testing::AssertionResult envelopesInRange (const NoiseGate& gate)
{
    for (const float envelope : { gate.getEnvelopeA(), gate.getEnvelopeB() })
        if (! (envelope >= 0.0f && envelope <= 1.0f))
            return ::testing::AssertionFailure() << "envelope " << envelope;

    return ::testing::AssertionSuccess();
}

/** Runs a finite signal through the gate in the given layout; returns whether every output
    sample was finite. */
::testing::AssertionResult finiteAfter (NoiseGate& gate, bool stereo, std::uint32_t seed)
{
    auto left = makeNoise (3000, 0.5f, seed);
    auto right = makeNoise (3000, 0.5f, seed + 1);

    if (stereo)
        gate.processStereo (left.data(), right.data(), 3000);
    else
        gate.processMono (left.data(), 3000);

    if (! allFinite (left) || ! allFinite (right))
        return ::testing::AssertionFailure() << "non-finite output";

    return envelopesInRange (gate);
}

/** A loud stretch must open the gate and silence close it again: nothing is stuck. */
::testing::AssertionResult stillFollowsTheSignal (NoiseGate& gate)
{
    std::vector<float> loud (48000, 0.9f);
    gate.processMono (loud.data(), 48000);
    const float opened = gate.getEnvelopeA();
    std::vector<float> silence (200000, 0.0f);
    gate.processMono (silence.data(), 200000);
    const float closed = gate.getEnvelopeA();

    if (opened > 0.99f && closed < 0.01f)
        return ::testing::AssertionSuccess();

    return ::testing::AssertionFailure() << "opened to " << opened << ", closed to " << closed;
}

const GateValues sane { 1.0f, 0.0f, 0.5f, 0.2f, 0.3f };
} // namespace

TEST (BadInput, BadSamplesLeaveNothingBehindInAnyLayoutOrFadeState)
{
    for (const float dualMono : { 0.0f, 1.0f })
    {
        for (const bool stereo : { false, true })
        {
            for (const float fadeTo : { -1.0f, 0.0f, 1.0f }) // none, fading out, fading back in
            {
                NoiseGate gate;
                auto values = sane;
                values[1] = dualMono;
                prepareGate (gate, 48000.0f, values);

                if (fadeTo >= 0.0f)
                {
                    pushValue (gate, 0, 0.0f);
                    if (fadeTo > 0.0f)
                        pushValue (gate, 0, 1.0f);
                }

                auto left = badSamples;
                auto right = badSamples;
                std::reverse (right.begin(), right.end());

                if (stereo)
                    gate.processStereo (left.data(), right.data(), static_cast<int> (left.size()));
                else
                    gate.processMono (left.data(), static_cast<int> (left.size()));

                EXPECT_TRUE (envelopesInRange (gate));
                EXPECT_TRUE (finiteAfter (gate, stereo, 7)) << dualMono << stereo << fadeTo;
            }
        }
    }
}

TEST (BadInput, BadParameterValuesKeepTheOutputFiniteAndAreForgottenWhenReplaced)
{
    for (int index = 0; index < NoiseGate::numGateParameters; ++index)
    {
        for (const float value : badValues)
        {
            NoiseGate gate;
            prepareGate (gate, 48000.0f, sane);
            pushValue (gate, index, value);
            EXPECT_TRUE (finiteAfter (gate, true, 3)) << index << " " << value;
            EXPECT_TRUE (finiteAfter (gate, false, 5)) << index << " " << value;

            pushValue (gate, index, sane[static_cast<size_t> (index)]);
            EXPECT_TRUE (finiteAfter (gate, true, 9)) << index << " " << value;
            EXPECT_TRUE (stillFollowsTheSignal (gate)) << index << " " << value;
        }
    }
}

TEST (BadInput, BadSampleRatesGiveAFiniteGateUntilPreparedProperly)
{
    for (const float rate : { notANumber, -48000.0f, -0.0f, 0.0f, inf, tiny })
    {
        NoiseGate gate;
        prepareGate (gate, rate, sane);
        EXPECT_GE (gate.getAttackCoefficient(), 0.0f) << rate;
        EXPECT_LE (gate.getAttackCoefficient(), 1.0f) << rate;
        EXPECT_LE (gate.getDecayCoefficient(), 1.0f) << rate;
        EXPECT_TRUE (finiteAfter (gate, true, 13)) << rate;

        prepareGate (gate, 48000.0f, sane);
        EXPECT_TRUE (stillFollowsTheSignal (gate)) << rate;
    }
}

TEST (BadInput, TheProcessorPassesBadValuesOnWithoutHarm)
{
    PelmoraTacetorAudioProcessor processor;
    processor.prepareToPlay (std::numeric_limits<double>::quiet_NaN(), 512);

    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;

    for (const float value : badValues)
    {
        for (int index = 0; index < processor.getNumParameters(); ++index)
            processor.setParameter (index, value);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < 512; ++i)
                buffer.setSample (channel, i, std::sin (static_cast<float> (i) * 0.1f));

        processor.processBlock (buffer, midi);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < 512; ++i)
                ASSERT_TRUE (std::isfinite (buffer.getSample (channel, i))) << value;

        EXPECT_TRUE (envelopesInRange (processor.getGate())) << value;
    }
}
