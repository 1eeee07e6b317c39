// The on switch's crossfade and the independence of the result from the host's block sizes.
#include "support/GateTestSupport.h"
#include "support/ReferenceGate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <tuple>

namespace
{
/** Two gates prepared alike: one is switched, the other stays on and shows what the gated
    signal alone would be, so that the mix can be checked sample by sample. */
struct SwitchedAndAlwaysOn
{
    explicit SwitchedAndAlwaysOn (float rate)
    {
        prepareGate (switched, rate, values);
        prepareGate (alwaysOn, rate, values);
    }

    /** Processes the input on both; returns the switched gate's output and the gated signal. */
    std::pair<std::vector<float>, std::vector<float>> process (const std::vector<float>& input)
    {
        auto out = input;
        auto gated = input;
        switched.processMono (out.data(), static_cast<int> (out.size()));
        alwaysOn.processMono (gated.data(), static_cast<int> (gated.size()));
        return { out, gated };
    }

    static constexpr GateValues values { 1.0f, 0.0f, 0.3f, 0.2f, 0.3f };
    NoiseGate switched, alwaysOn;
};

/** Checks out == gated * wet + input * dry sample by sample while the weights move by one step
    per sample, the rising one from its start until it has carried the full weight. Returns
    how many samples were mixed. */
int expectCrossfade (const std::vector<float>& out, const std::vector<float>& gated, const std::vector<float>& input,
                     bool fadingIn, float startWet, float step)
{
    float wet = startWet;
    float dry = 1.0f - startWet;
    float& rising = fadingIn ? wet : dry;
    float& falling = fadingIn ? dry : wet;

    for (size_t i = 0; i < out.size(); ++i)
    {
        const float expected = gated[i] * wet + input[i] * dry;
        EXPECT_EQ (out[i], expected) << "sample " << i;

        if (out[i] != expected || rising >= 1.0f)
            return static_cast<int> (i) + 1;

        rising += step;
        falling -= step;
    }

    return static_cast<int> (out.size());
}
} // namespace

TEST (NoiseGateFade, LengthFollowsTheSampleRateAtTheBoundaries)
{
    const std::pair<float, int> table[] = {
        { 8000.0f, 1024 },
        { std::nextafter (34050.0f, 0.0f), 1024 },
        { 34050.0f, 2048 },
        { 44100.0f, 2048 },
        { std::nextafter (68000.0f, 0.0f), 2048 },
        { 68000.0f, 4096 },
        { 96000.0f, 4096 },
        { std::nextafter (136000.0f, 0.0f), 4096 },
        { 136000.0f, 8192 },
        { 192000.0f, 8192 },
        { std::numeric_limits<float>::quiet_NaN(), 8192 },
    };

    for (const auto& [rate, length] : table)
    {
        NoiseGate gate;
        prepareGate (gate, rate, defaultGateValues);
        EXPECT_EQ (gate.getFadeLength(), length) << rate;

        // From the end gains a fade mixes length samples below full weight, then one at it.
        pushValue (gate, 0, 0.0f);
        std::vector<float> block (static_cast<size_t> (length), 0.25f);
        gate.processMono (block.data(), length);
        EXPECT_EQ (gate.getFadeState(), NoiseGate::FadingOut) << rate;
        EXPECT_EQ (gate.getDryGain(), 1.0f) << rate;
        gate.processMono (block.data(), 1);
        EXPECT_EQ (gate.getFadeState(), NoiseGate::Bypassed) << rate;
    }
}

TEST (NoiseGateFade, PrepareLatchesTheSwitchWithoutAFade)
{
    NoiseGate gate;
    prepareGate (gate, 44100.0f, { 0.0f, 0.0f, 0.3f, 0.2f, 0.3f });
    EXPECT_EQ (gate.getFadeState(), NoiseGate::Bypassed);
    EXPECT_EQ (gate.getDryGain(), 1.0f);

    const auto input = makeNoise (512, 0.2f, 3);
    auto block = input;
    gate.processMono (block.data(), 512);
    EXPECT_TRUE (sameBits (block, input));

    // The switch alone only records the request; nothing fades until it is taken over.
    gate.setParameter (0, 1.0f);
    EXPECT_EQ (gate.getFadeState(), NoiseGate::Bypassed);
    gate.prepare();
    EXPECT_EQ (gate.getFadeState(), NoiseGate::Active);
    EXPECT_EQ (gate.getWetGain(), 1.0f);
    EXPECT_EQ (gate.getDryGain(), 0.0f);
}

TEST (NoiseGateFade, FadeOutEndsInTheUnchangedInputWithFrozenEnvelopes)
{
    SwitchedAndAlwaysOn gates (44100.0f);
    gates.process (makeNoise (3000, 0.2f, 4)); // envelopes somewhere in the middle

    pushValue (gates.switched, 0, 0.0f);
    EXPECT_EQ (gates.switched.getFadeState(), NoiseGate::FadingOut);

    const auto input = makeNoise (3000, 0.2f, 5);
    const auto [out, gated] = gates.process (input);
    EXPECT_EQ (expectCrossfade (out, gated, input, false, 1.0f, 1.0f / 2048.0f), 2049);
    EXPECT_EQ (gates.switched.getFadeState(), NoiseGate::Bypassed);
    EXPECT_TRUE (std::equal (out.begin() + 2049, out.end(), input.begin() + 2049,
                             [] (float a, float b)
                             { return std::memcmp (&a, &b, sizeof (float)) == 0; }));

    const float envelope = gates.switched.getEnvelopeA();
    for (std::uint32_t seed = 6; seed < 10; ++seed)
    {
        const auto more = makeNoise (777, 0.5f, seed);
        auto block = more;
        gates.switched.processMono (block.data(), 777);
        EXPECT_TRUE (sameBits (block, more));
    }
    EXPECT_EQ (gates.switched.getEnvelopeA(), envelope);
}

TEST (NoiseGateFade, ASwitchReversedMidwayContinuesFromTheCurrentMix)
{
    SwitchedAndAlwaysOn gates (48000.0f);
    pushValue (gates.switched, 0, 0.0f);
    const auto first = makeNoise (700, 0.2f, 11);
    const auto [out, gated] = gates.process (first);
    EXPECT_EQ (expectCrossfade (out, gated, first, false, 1.0f, 1.0f / 2048.0f), 700);

    const float wet = gates.switched.getWetGain();
    EXPECT_EQ (wet, 1.0f - 700.0f / 2048.0f);
    pushValue (gates.switched, 0, 1.0f);
    EXPECT_EQ (gates.switched.getFadeState(), NoiseGate::FadingIn);
    EXPECT_EQ (gates.switched.getWetGain(), wet);

    // Back up from where it was: 700 steps to full weight, one sample at it, then in circuit.
    const auto second = makeNoise (1000, 0.2f, 12);
    const auto [out2, gated2] = gates.process (second);
    EXPECT_EQ (expectCrossfade (out2, gated2, second, true, wet, 1.0f / 2048.0f), 701);
    EXPECT_EQ (gates.switched.getFadeState(), NoiseGate::Active);
    EXPECT_TRUE (std::equal (out2.begin() + 701, out2.end(), gated2.begin() + 701));
}

TEST (NoiseGateBlocks, RandomBlockSizesGiveTheSameOutputAsOneBlock)
{
    // Changes land on the same samples in both runs; between them one run processes a single
    // block, the other random blocks of 0, 1 or up to 700 samples. Fades end inside blocks and
    // are followed by fades the other way.
    struct Segment
    {
        int length;
        int index; // parameter changed before the segment, -1 for none
        float value;
    };

    const Segment segments[] = {
        { 2500, -1, 0.0f },
        { 3100, 0, 0.0f },
        { 1800, 0, 1.0f },
        { 700, 0, 0.0f },
        { 400, 0, 1.0f },
        { 2600, 2, 0.6f },
        { 1200, 1, 1.0f },
        { 900, 3, 0.05f },
        { 2300, 0, 0.0f },
        { 3000, 0, 1.0f },
        { 2000, 4, 0.2f },
        { 1500, 1, 0.0f },
    };

    size_t total = 0;
    for (const auto& segment : segments)
        total += static_cast<size_t> (segment.length);

    // Bursts of noise, so that the gate opens and closes.
    auto left = makeNoise (total, 0.3f, 21);
    auto right = makeNoise (total, 0.3f, 22);
    for (size_t i = 0; i < total; ++i)
    {
        const float burst = (i / 900) % 2 == 0 ? 1.0f : 0.02f;
        left[i] *= burst;
        right[i] *= (i / 1300) % 2 == 0 ? 1.0f : 0.02f;
    }

    enum class Layout
    {
        mono,
        stereo
    };

    for (const auto layout : { Layout::mono, Layout::stereo })
    {
        const auto run = [&] (const std::function<int (int)>& nextBlock)
        {
            NoiseGate gate;
            prepareGate (gate, 44100.0f, { 1.0f, 0.0f, 0.4f, 0.2f, 0.3f });
            auto outLeft = left;
            auto outRight = right;
            size_t position = 0;

            for (const auto& segment : segments)
            {
                if (segment.index >= 0)
                    pushValue (gate, segment.index, segment.value);

                for (int done = 0; done < segment.length;)
                {
                    const int n = std::min (nextBlock (segment.length - done), segment.length - done);
                    const auto at = position + static_cast<size_t> (done);

                    if (layout == Layout::mono)
                        gate.processMono (outLeft.data() + at, n);
                    else
                        gate.processStereo (outLeft.data() + at, outRight.data() + at, n);

                    done += n;
                }

                position += static_cast<size_t> (segment.length);
            }

            return std::make_tuple (outLeft, outRight, gate.getEnvelopeA(), gate.getEnvelopeB());
        };

        const auto whole = run ([] (int remaining)
                                { return remaining; });

        std::mt19937 random (31);
        const auto split = run ([&random] (int)
                                {
            const auto pick = random() % 4;
            return pick == 0 ? 0 : pick == 1 ? 1 : static_cast<int> (random() % 700); });

        EXPECT_TRUE (sameBits (std::get<0> (whole), std::get<0> (split)));
        EXPECT_TRUE (sameBits (std::get<1> (whole), std::get<1> (split)));
        EXPECT_EQ (std::get<2> (whole), std::get<2> (split));
        EXPECT_EQ (std::get<3> (whole), std::get<3> (split));
    }
}

TEST (NoiseGateBlocks, ABlockLongerThanPreparedGrowsTheDryCopiesFirst)
{
    NoiseGate small, large;
    prepareGate (small, 44100.0f, defaultGateValues, 16384);
    prepareGate (large, 44100.0f, defaultGateValues, 20000);
    pushValue (small, 0, 0.0f);
    pushValue (large, 0, 0.0f);

    const auto inputLeft = makeNoise (20000, 0.3f, 41);
    const auto inputRight = makeNoise (20000, 0.3f, 42);
    auto smallLeft = inputLeft, smallRight = inputRight, largeLeft = inputLeft, largeRight = inputRight;
    small.processStereo (smallLeft.data(), smallRight.data(), 20000);
    large.processStereo (largeLeft.data(), largeRight.data(), 20000);

    EXPECT_EQ (small.getMaxBlockSize(), 20000);
    EXPECT_TRUE (sameBits (smallLeft, largeLeft));
    EXPECT_TRUE (sameBits (smallRight, largeRight));
}

TEST (NoiseGateBlocks, TheWholeGateMatchesThePlainReferenceThroughFadesChangesAndRoundingModes)
{
    // Random blocks (empty, short and up to 4096 samples), each with its own treatment of
    // subnormals and rounding; between them the switch flips (often again before a fade has ended),
    // dual mono toggles and threshold and times change. Bursts of noise over a quiet floor,
    // so that the gate opens and closes.
    const float thresholdValues[] = { 0.0f, 0.1f, 0.3f, 0.5f, 1.0f };
    const float timeValues[] = { 0.0f, 0.001f, 0.05f, 0.134f, 0.367f, 1.0f };

    for (const bool stereo : { false, true })
    {
        std::mt19937 random (stereo ? 51u : 52u);
        NoiseGate gate;
        prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 0.3f, 0.2f, 0.3f }, 4096);
        ReferenceGate reference;
        reference.fadeStep = 1.0f / static_cast<float> (gate.getFadeLength());
        bool on = true;
        bool dualMono = false;

        for (int block = 0; block < 4000; ++block)
        {
            switch (random() % 10)
            {
                case 0:
                case 1:
                    on = ! on;
                    pushValue (gate, 0, on ? 1.0f : 0.0f);
                    reference.switchTo (on);
                    break;
                case 2:
                    dualMono = ! dualMono;
                    pushValue (gate, 1, dualMono ? 1.0f : 0.0f);
                    break;
                case 3: pushValue (gate, 2, thresholdValues[random() % 5]); break;
                case 4: pushValue (gate, 3, timeValues[random() % 6]); break;
                case 5: pushValue (gate, 4, timeValues[random() % 6]); break;
                default: break;
            }

            reference.copyWorkingValues (gate);
            const auto size = static_cast<size_t> (random() % 4 == 0 ? random() % 4097 : random() % 80);
            const float level = (block / 20) % 2 == 0 ? 0.6f : 0.003f;
            auto left = makeNoise (size, level, static_cast<std::uint32_t> (random()));
            auto right = makeNoise (size, level * 0.5f, static_cast<std::uint32_t> (random()));
            auto expectedLeft = left;
            auto expectedRight = right;

            const ScopedFloatMode floatMode (randomFloatMode (random));
            const int n = static_cast<int> (size);

            if (stereo)
            {
                gate.processStereo (left.data(), right.data(), n);
                reference.processStereo (expectedLeft.data(), expectedRight.data(), n, dualMono);
            }
            else
            {
                gate.processMono (left.data(), n);
                reference.processMono (expectedLeft.data(), n);
            }

            const auto context = ::testing::Message() << "block " << block << " of " << n << (stereo ? " stereo" : " mono")
                                                      << (dualMono ? ", dual mono" : "") << ", fade state " << reference.fadeState;
            ASSERT_TRUE (sameBits (left, expectedLeft)) << context;
            ASSERT_TRUE (sameBits (right, expectedRight)) << context;
            ASSERT_EQ (gate.getEnvelopeA(), reference.envelopeA) << context;
            ASSERT_EQ (gate.getEnvelopeB(), reference.envelopeB) << context;
            ASSERT_EQ (gate.getFadeState(), reference.fadeState) << context;
            ASSERT_EQ (gate.getWetGain(), reference.wetGain) << context;
            ASSERT_EQ (gate.getDryGain(), reference.dryGain) << context;
        }
    }
}
