// The noise gate's core: coefficients and envelopes against their time constants, the per-sample
// formula against a plain reference loop, threshold decisions, linked and dual-mono stereo.
#include "support/GateTestSupport.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace
{
constexpr float epsilon = 1e-20f;

// Restated on purpose, not read from NoiseGate: stored projects depend on these scales.
constexpr float attackFullScaleMs = 200.0f;
constexpr float decayFullScaleMs = 2000.0f;

/** Time constant in samples for a normalised time value on a 0..fullScaleMs scale, derived
    independently of the code under test, in double precision. */
double timeConstantSamples (double value, double fullScaleMs, double sampleRate)
{
    const double skew = (std::pow (81.0, value) - 1.0) / 80.0;
    return fullScaleMs * skew / 1000.0 * sampleRate;
}

double coefficientFor (double value, double fullScaleMs, double sampleRate)
{
    return std::exp (-1.0 / timeConstantSamples (value, fullScaleMs, sampleRate));
}

/** How far the single-precision coefficient may lie from the exact one. 81^v - 1 loses
    relative precision by 81^v / (81^v - 1) as v nears 0; a relative error d in the time
    constant moves c = exp(-x) by c * x * d; the exponential itself rounds by 2^-24. */
double coefficientTolerance (double value, double fullScaleMs, double sampleRate)
{
    const double power = std::pow (81.0, value);
    const double relativeTimeError = 8.0 * std::ldexp (power / (power - 1.0), -24);
    const double x = 1.0 / timeConstantSamples (value, fullScaleMs, sampleRate);
    return std::exp (-x) * x * relativeTimeError + std::ldexp (1.0, -24);
}

/** How far a single-precision envelope may lie from the exact closed form after n steps: each
    step rounds by at most two units of 2^-23 at 1.0 and old errors decay by the coefficient,
    so rounding adds up to at most 2^-22 * tau; the coefficient's own rounding (about 2^-24)
    grows by at most n over n steps. */
double envelopeTolerance (int n, double tau)
{
    return std::ldexp (static_cast<double> (n) + tau, -22);
}

/** The per-sample formula written out plainly: returns the gain and steps the envelope. */
float referenceStep (float& envelope, float level, const NoiseGate& gate)
{
    const float target = level > gate.getThresholdLinear() ? 1.0f + epsilon : epsilon;
    const float coefficient = target > envelope ? gate.getAttackCoefficient() : gate.getDecayCoefficient();
    envelope = target + (envelope - target) * coefficient;
    return envelope - epsilon;
}

void processMono (NoiseGate& gate, std::vector<float>& samples)
{
    gate.processMono (samples.data(), static_cast<int> (samples.size()));
}

void feedConstant (NoiseGate& gate, float value, int count)
{
    std::vector<float> samples (static_cast<size_t> (count), value);
    processMono (gate, samples);
}
} // namespace

TEST (NoiseGateEnvelope, CoefficientsFollowTheTimeConstantsInSinglePrecision)
{
    for (const float rate : { 32000.0f, 44100.0f, 48000.0f, 96000.0f, 192000.0f })
    {
        for (const float value : { 0.001f, 0.05f, 0.134f, 0.367f, 0.5f, 0.9f, 1.0f })
        {
            NoiseGate gate;
            prepareGate (gate, rate, { 1.0f, 0.0f, 0.0f, value, value });

            EXPECT_NEAR (gate.getAttackCoefficient(), coefficientFor (value, attackFullScaleMs, rate), coefficientTolerance (value, attackFullScaleMs, rate))
                << rate << " " << value;
            EXPECT_NEAR (gate.getDecayCoefficient(), coefficientFor (value, decayFullScaleMs, rate), coefficientTolerance (value, decayFullScaleMs, rate))
                << rate << " " << value;

            // The exact single-precision result of ((81^v - 1) * 0.0125) * ms * rate, so that
            // projects render the same as before, bit for bit.
            const float skew = (std::pow (81.0f, value) - 1.0f) * 0.0125f;
            EXPECT_EQ (gate.getAttackCoefficient(), std::exp (-1000.0f / (skew * attackFullScaleMs * rate)));
            EXPECT_EQ (gate.getDecayCoefficient(), std::exp (-1000.0f / (skew * decayFullScaleMs * rate)));
        }
    }
}

TEST (NoiseGateEnvelope, ZeroTimesAreInstantAndTheFirstOpeningSampleIsScaled)
{
    NoiseGate gate;
    prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 0.0f, 0.0f, 0.0f });
    std::vector<float> samples { 0.5f, 0.0f, -0.25f };
    processMono (gate, samples);
    EXPECT_EQ (samples, (std::vector<float> { 0.5f, 0.0f, -0.25f }));
    EXPECT_EQ (gate.getEnvelopeA(), 1.0f);

    // 20 ms at 48 kHz: the sample that opens the gate is itself scaled by 1 - exp(-1/960).
    prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 0.0f, 0.5f, 0.367f });
    std::vector<float> one { 1.0f };
    processMono (gate, one);
    EXPECT_NEAR (one[0], 1.0 - std::exp (-1.0 / 960.0), 1.0e-7);
}

TEST (NoiseGateEnvelope, StepResponseFollowsTheClosedFormInBothDirections)
{
    constexpr float rate = 48000.0f;
    const int checkpoints[] = { 1, 7, 100, 960, 4000, 20000 };

    for (const float attack : { 0.134f, 0.5f, 0.9f })
    {
        for (const float decay : { 0.2f, 0.367f, 0.7f })
        {
            NoiseGate gate;
            prepareGate (gate, rate, { 1.0f, 0.0f, 0.5f, attack, decay });
            const double attackTau = timeConstantSamples (attack, attackFullScaleMs, rate);
            const double decayTau = timeConstantSamples (decay, decayFullScaleMs, rate);
            const double attackCoefficient = std::exp (-1.0 / attackTau);
            const double decayCoefficient = std::exp (-1.0 / decayTau);

            // From closed (envelope 0) towards open: target + (start - target) * c^n.
            int done = 0;
            for (const int n : checkpoints)
            {
                feedConstant (gate, 0.5f, n - done);
                done = n;
                const double expected = 1.0 + (0.0 - 1.0) * std::pow (attackCoefficient, n);
                EXPECT_NEAR (gate.getEnvelopeA(), expected, envelopeTolerance (n, attackTau))
                    << "attack " << attack << " after " << n;
            }

            // Then silence: from where it stands towards the closed target.
            const double start = gate.getEnvelopeA();
            done = 0;
            for (const int n : checkpoints)
            {
                feedConstant (gate, 0.0f, n - done);
                done = n;
                const double expected = 1e-20 + (start - 1e-20) * std::pow (decayCoefficient, n);
                EXPECT_NEAR (gate.getEnvelopeA(), expected, envelopeTolerance (n, decayTau))
                    << "decay " << decay << " after " << n;
                EXPECT_GE (gate.getEnvelopeA(), epsilon);
            }
        }
    }
}

TEST (NoiseGateCore, OutputMatchesThePlainPerSampleFormulaBitForBit)
{
    const auto left = makeNoise (6000, 0.08f, 1);
    const auto right = makeNoise (6000, 0.05f, 2);

    for (const bool dualMono : { false, true })
    {
        NoiseGate gate;
        prepareGate (gate, 44100.0f, { 1.0f, dualMono ? 1.0f : 0.0f, 0.5f, 0.3f, 0.4f });
        auto gatedLeft = left;
        auto gatedRight = right;
        gate.processStereo (gatedLeft.data(), gatedRight.data(), static_cast<int> (left.size()));

        auto expectedLeft = left;
        auto expectedRight = right;
        float envelopeLeft = 0.0f;
        float envelopeRight = 0.0f;

        for (size_t i = 0; i < left.size(); ++i)
        {
            if (dualMono)
            {
                expectedLeft[i] *= referenceStep (envelopeLeft, std::fabs (left[i]), gate);
                expectedRight[i] *= referenceStep (envelopeRight, std::fabs (right[i]), gate);
            }
            else
            {
                const float level = std::fabs (left[i]) > std::fabs (right[i]) ? std::fabs (left[i]) : std::fabs (right[i]);
                const float gain = referenceStep (envelopeLeft, level, gate);
                expectedLeft[i] *= gain;
                expectedRight[i] *= gain;
                envelopeRight = envelopeLeft;
            }
        }

        EXPECT_TRUE (sameBits (gatedLeft, expectedLeft)) << "dual mono " << dualMono;
        EXPECT_TRUE (sameBits (gatedRight, expectedRight)) << "dual mono " << dualMono;
        EXPECT_EQ (gate.getEnvelopeA(), envelopeLeft);
        EXPECT_EQ (gate.getEnvelopeB(), envelopeRight);
    }

    NoiseGate gate;
    prepareGate (gate, 44100.0f, { 1.0f, 1.0f, 0.5f, 0.3f, 0.4f }); // dual mono means nothing to mono
    auto gated = left;
    processMono (gate, gated);
    auto expected = left;
    float envelope = 0.0f;
    for (size_t i = 0; i < left.size(); ++i)
        expected[i] *= referenceStep (envelope, std::fabs (left[i]), gate);

    EXPECT_TRUE (sameBits (gated, expected));
    EXPECT_EQ (gate.getEnvelopeA(), envelope);
    EXPECT_EQ (gate.getEnvelopeB(), envelope);
}

TEST (NoiseGateCore, ALevelEqualToTheThresholdCountsAsBelow)
{
    NoiseGate gate;
    prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 1.0f, 0.0f, 0.0f });
    EXPECT_EQ (gate.getThresholdLinear(), 1.0f);

    // Instant attack and decay: an open gate passes the sample (gain 1 - 1e-20 is 1.0f), a
    // closed one gives zero.
    for (const float value : { 0.5f, 0.3f, 0.9f })
    {
        prepareGate (gate, 48000.0f, { 1.0f, 0.0f, value, 0.0f, 0.0f });
        const float threshold = gate.getThresholdLinear();
        const float above = std::nextafter (threshold, 2.0f);

        std::vector<float> samples { threshold, above, -threshold, -above, threshold };
        processMono (gate, samples);
        EXPECT_EQ (samples, (std::vector<float> { 0.0f, above, 0.0f, -above, 0.0f })) << value;

        std::vector<float> left { threshold, threshold, above };
        std::vector<float> right { -threshold, -above, 0.0f };
        gate.processStereo (left.data(), right.data(), 3);
        EXPECT_EQ (left, (std::vector<float> { 0.0f, threshold, above }));
        EXPECT_EQ (right, (std::vector<float> { 0.0f, -above, 0.0f }));
    }

    prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 0.5f, 0.0f, 0.0f });
    EXPECT_NEAR (gate.getThresholdLinear(), 0.025f, 1.0e-8f);

    // Threshold 0: only digital silence is below; the smallest subnormal opens the gate.
    prepareGate (gate, 48000.0f, { 1.0f, 0.0f, 0.0f, 0.0f, 0.0f });
    const float tiny = std::numeric_limits<float>::denorm_min();
    std::vector<float> samples { tiny, 0.0f, -tiny };
    processMono (gate, samples);
    EXPECT_EQ (samples, (std::vector<float> { tiny, 0.0f, -tiny }));
    EXPECT_EQ (gate.getEnvelopeA(), 1.0f);
}

TEST (NoiseGateStereo, LinkedGatesBothChannelsByTheLouderDualMonoByEach)
{
    // The left channel stays well above the threshold (0.025); the right one is quiet after
    // the first 500 samples.
    std::vector<float> loud (4000, 0.5f);
    std::vector<float> quiet (4000, 0.01f);
    std::fill (quiet.begin(), quiet.begin() + 500, 0.5f);

    NoiseGate linked;
    prepareGate (linked, 48000.0f, { 1.0f, 0.0f, 0.5f, 0.134f, 0.367f });
    auto left = loud;
    auto right = quiet;
    linked.processStereo (left.data(), right.data(), 4000);

    for (size_t i = 0; i < left.size(); ++i)
        ASSERT_EQ (right[i], quiet[i] * (left[i] * 2.0f)) << i; // left * 2 is the gain, exactly
    EXPECT_EQ (linked.getEnvelopeB(), linked.getEnvelopeA());

    NoiseGate dual;
    prepareGate (dual, 48000.0f, { 1.0f, 1.0f, 0.5f, 0.134f, 0.367f });
    left = loud;
    right = quiet;
    dual.processStereo (left.data(), right.data(), 500);
    const double rightStart = dual.getEnvelopeB();
    EXPECT_EQ (dual.getEnvelopeA(), dual.getEnvelopeB());
    dual.processStereo (left.data() + 500, right.data() + 500, 3500);

    // Left stays open while right closes with the decay time on its own envelope.
    const double decayCoefficient = coefficientFor (0.367, decayFullScaleMs, 48000.0);
    EXPECT_NEAR (dual.getEnvelopeA(), 1.0, envelopeTolerance (4000, timeConstantSamples (0.134, attackFullScaleMs, 48000.0)));
    EXPECT_NEAR (dual.getEnvelopeB(), 1e-20 + (rightStart - 1e-20) * std::pow (decayCoefficient, 3500),
                 envelopeTolerance (3500, timeConstantSamples (0.367, decayFullScaleMs, 48000.0)));
    EXPECT_LT (right.back() / quiet.back(), 0.6f * (left.back() / loud.back()));
}
