// The gate core against the plain per-sample formula, bit for bit: every block size, every
// layout, every way a host may treat subnormals and round, edge values of signal, envelope and
// settings; and the float facts its faster paths rest on, checked for every float where they
// are used.
#include "dsp/GateCore.h"
#include "support/GateTestSupport.h"
#include "support/ReferenceGate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <numeric>

#include <emmintrin.h>

namespace
{
constexpr float epsilon = GateCore::epsilon;
constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinity = std::numeric_limits<float>::infinity();
constexpr float subnormal = 1.0e-40f;
const float justBelowOne = std::nextafter (1.0f, 0.0f);

std::uint32_t bitsOf (float value)
{
    std::uint32_t bits;
    std::memcpy (&bits, &value, sizeof bits);
    return bits;
}

/** Runs check on every float from first to last (both positive), four at a time; returns
    how many failed. check takes four floats and returns a mask of the lanes that hold. */
template <typename Check>
std::uint64_t failuresFromTo (float first, float last, Check check)
{
    std::uint64_t failures = 0;
    const std::uint32_t end = bitsOf (last);
    __m128i bits = _mm_add_epi32 (_mm_set1_epi32 (static_cast<int> (bitsOf (first))), _mm_setr_epi32 (0, 1, 2, 3));
    const __m128i four = _mm_set1_epi32 (4);

    for (std::uint32_t at = bitsOf (first); at <= end; at += 4)
    {
        // Lanes past the last float repeat the last one.
        const __m128i clamped = _mm_castps_si128 (_mm_min_ps (_mm_castsi128_ps (bits), _mm_set1_ps (last)));
        failures += static_cast<std::uint64_t> (__builtin_popcount (static_cast<unsigned> (~check (_mm_castsi128_ps (clamped)) & 15)));
        bits = _mm_add_epi32 (bits, four);
    }

    return failures;
}

/** What the envelopes do to a block, in the order the layouts below are named. */
enum class Layout
{
    mono,
    linked,
    dualMono
};

const char* nameOf (Layout layout)
{
    switch (layout)
    {
        case Layout::mono: return "mono";
        case Layout::linked: return "linked";
        case Layout::dualMono: return "dual mono";
    }

    return "";
}

/** Settings and envelope values that sit on the edges of the formula. */
const float thresholds[] = { 0.0f, std::numeric_limits<float>::denorm_min(), 1.0e-30f, 0.0025f, 0.025f, 0.3f, 1.0f, notANumber, infinity };
const float coefficients[] = { 0.0f, subnormal, 1.0e-30f, 0.25f, 0.5f, 0.904837f, 0.98964f, 0.99979f, 0.9999896f, justBelowOne, 1.0f };
const float envelopes[] = { 0.0f, epsilon, std::nextafter (epsilon, 0.0f), std::nextafter (epsilon, 1.0f), 0x1p-41f,
                            std::nextafter (0x1p-41f, 0.0f), 1.0e-6f, 0.5f, justBelowOne, 1.0f };

template <typename T, size_t n>
T pick (std::mt19937& random, const T (&values)[n])
{
    return values[random() % n];
}

/** Fills a block with one kind of signal, chosen at random: silence, a floor far below the
    threshold, loud noise, noise around the threshold with samples exactly at it, or noise
    sprinkled with values that are not ordinary numbers. */
void fillBlock (std::vector<float>& samples, std::mt19937& random, float threshold)
{
    std::uniform_real_distribution<float> unit (-1.0f, 1.0f);
    const float level = std::isfinite (threshold) && threshold > 0.0f ? threshold : 0.01f;
    const float specials[] = { notANumber, infinity, -infinity, subnormal, -subnormal, 0.0f, -0.0f, FLT_MAX, threshold, -threshold };

    switch (random() % 6)
    {
        case 0: std::fill (samples.begin(), samples.end(), 0.0f); break;
        case 1:
            for (auto& sample : samples)
                sample = 0.01f * level * unit (random);
            break;
        case 2:
            for (auto& sample : samples)
                sample = std::min (1.0f, 30.0f * level) * unit (random);
            break;
        case 3:
            for (auto& sample : samples)
                sample = random() % 4 == 0 ? (random() % 2 == 0 ? threshold : -threshold) : 2.0f * level * unit (random);
            break;
        default:
            for (auto& sample : samples)
                sample = random() % 16 == 0 ? pick (random, specials) : level * 3.0f * unit (random);
            break;
    }
}

::testing::AssertionResult sameBitsAt (const std::vector<float>& actual, const std::vector<float>& expected, const char* what)
{
    for (size_t i = 0; i < expected.size(); ++i)
        if (bitsOf (actual[i]) != bitsOf (expected[i]))
            return ::testing::AssertionFailure() << what << " sample " << i << ": " << actual[i] << " instead of " << expected[i];

    return ::testing::AssertionSuccess();
}
} // namespace

TEST (GateCoreShortcuts, EpsilonVanishesAgainstEveryEnvelopeFromTheDecayFloorToOne)
{
    // Closing from at or above 2^-41, envelope - epsilon and epsilon + envelope round to nearest
    // back to the envelope: that makes the closing step one multiplication. No subnormal number
    // takes part, so flushing them cannot change it; it is checked in the extreme modes.
    for (const unsigned mode : { floatModes.front(), floatModes.back() })
    {
        const ScopedFloatMode floatMode (mode);
        const __m128 epsilons = _mm_set1_ps (epsilon);
        const auto failures = failuresFromTo (0x1p-41f, 1.0f, [&] (__m128 lanes)
                                              {
            const __m128 minus = _mm_cmpeq_ps (_mm_sub_ps (lanes, epsilons), lanes);
            const __m128 plus = _mm_cmpeq_ps (_mm_add_ps (epsilons, lanes), lanes);
            return _mm_movemask_ps (_mm_and_ps (minus, plus)); });

        EXPECT_EQ (failures, 0u) << "mode " << mode;
    }
}

TEST (GateCoreShortcuts, AnEnvelopeAtOrAboveTheClosedTargetStaysThereWhileAttackIsBelowOne)
{
    // The coefficient of a step then follows from the decision alone, rounding to nearest.
    // Opening with the largest coefficient below 1 lowers an envelope the most (every smaller
    // one lowers it less), and a closing step moves it towards epsilon at most; both are
    // checked for every envelope, with and without flushing subnormals.
    for (const unsigned mode : { floatModes.front(), floatModes.back() })
    {
        const ScopedFloatMode floatMode (mode);
        const __m128 ones = _mm_set1_ps (1.0f);
        const __m128 epsilons = _mm_set1_ps (epsilon);
        const __m128 coefficient = _mm_set1_ps (justBelowOne);
        const auto failures = failuresFromTo (epsilon, 1.0f, [&] (__m128 lanes)
                                              {
            const __m128 opened = _mm_add_ps (ones, _mm_mul_ps (_mm_sub_ps (lanes, ones), coefficient));
            const __m128 closed = _mm_add_ps (epsilons, _mm_mul_ps (_mm_sub_ps (lanes, epsilons), coefficient));
            return _mm_movemask_ps (_mm_and_ps (_mm_cmpge_ps (opened, epsilons), _mm_cmpge_ps (closed, epsilons))); });

        EXPECT_EQ (failures, 0u) << "mode " << mode;
    }

    // And the one envelope at which the formula would take the decay coefficient for an
    // opening step gives the same with the attack coefficient.
    for (const unsigned mode : floatModes)
    {
        const ScopedFloatMode otherMode (mode);
        for (const float attack : coefficients)
            for (const float decay : coefficients)
                EXPECT_EQ (bitsOf (1.0f + (1.0f - 1.0f) * attack), bitsOf (1.0f + (1.0f - 1.0f) * decay));
    }
}

TEST (GateCoreShortcuts, FadeWeightsAreExactMultiplesOfTheStep)
{
    // The crossfade's weights are computed as k / L rather than added up sample by sample.
    for (const int length : { 1024, 2048, 4096, 8192 })
    {
        const float step = 1.0f / static_cast<float> (length);
        float rising = 0.0f;
        float falling = 1.0f;

        for (int k = 0; k <= length; ++k)
        {
            ASSERT_EQ (rising, static_cast<float> (k) * step) << length << " " << k;
            ASSERT_EQ (falling, static_cast<float> (length - k) * step) << length << " " << k;
            rising += step;
            falling -= step;
        }
    }
}

TEST (GateCoreIdentity, EveryLayoutAndBlockSizeGivesTheFormulasBits)
{
    // Blocks of every size from 1 to 4096, in random order, one after another; each runs with
    // its own treatment of subnormals and rounding, and now and then the settings change or
    // the envelopes are set to an edge value.
    std::vector<int> blockSizes (4096);
    std::iota (blockSizes.begin(), blockSizes.end(), 1);

    for (const auto layout : { Layout::mono, Layout::linked, Layout::dualMono })
    {
        std::mt19937 random (static_cast<std::uint32_t> (layout) + 100);
        std::shuffle (blockSizes.begin(), blockSizes.end(), random);
        ReferenceGate reference;
        float envelopeA = 0.0f;
        float envelopeB = 0.0f;
        std::vector<float> left, right;

        for (const int size : blockSizes)
        {
            if (random() % 8 == 0)
            {
                reference.threshold = pick (random, thresholds);
                reference.attack = pick (random, coefficients);
                reference.decay = pick (random, coefficients);
            }

            if (random() % 32 == 0)
            {
                envelopeA = reference.envelopeA = pick (random, envelopes);
                envelopeB = reference.envelopeB = layout == Layout::dualMono ? pick (random, envelopes) : envelopeA;
            }

            left.resize (static_cast<size_t> (size));
            right.resize (static_cast<size_t> (size));
            fillBlock (left, random, reference.threshold);
            fillBlock (right, random, reference.threshold);
            auto expectedLeft = left;
            auto expectedRight = right;

            const unsigned mode = randomFloatMode (random);
            const ScopedFloatMode floatMode (mode);
            const GateCore core { reference.threshold, reference.attack, reference.decay };

            switch (layout)
            {
                case Layout::mono:
                    core.processMono (left.data(), size, envelopeA);
                    reference.processMono (expectedLeft.data(), size);
                    expectedRight = right;
                    break;
                case Layout::linked:
                    core.processLinked (left.data(), right.data(), size, envelopeA);
                    reference.processStereo (expectedLeft.data(), expectedRight.data(), size, false);
                    break;
                case Layout::dualMono:
                    core.processDualMono (left.data(), right.data(), size, envelopeA, envelopeB);
                    reference.processStereo (expectedLeft.data(), expectedRight.data(), size, true);
                    break;
            }

            const auto context = ::testing::Message() << nameOf (layout) << ", block of " << size << ", mode " << mode << ", threshold "
                                                      << reference.threshold << ", attack " << reference.attack << ", decay " << reference.decay;
            ASSERT_TRUE (sameBitsAt (left, expectedLeft, "left")) << context;
            ASSERT_TRUE (sameBitsAt (right, expectedRight, "right")) << context;
            ASSERT_EQ (bitsOf (envelopeA), bitsOf (reference.envelopeA)) << context;

            if (layout == Layout::dualMono)
            {
                ASSERT_EQ (bitsOf (envelopeB), bitsOf (reference.envelopeB)) << context;
            }
        }
    }
}
