#include "GateCore.h"

#include <cmath>
#include <limits>

#if ! (defined(__SSE2__) || defined(_M_X64))
#error "The gate core is written for x86-64, whose baseline includes SSE2."
#endif

#include <emmintrin.h>

// Why the faster paths below give the formula's floats exactly.
//
// A step is a pure function of (envelope, target, coefficient). Once a step leaves the envelope
// unchanged, every later step with the same decision does too, and gives the same gain: such
// "steady" stretches (a gate held open, or closed for good) cost one multiplication per sample.
// The open envelope settles on a float just below 1, not on the target, so steadiness is found
// by running a real step and comparing, never by comparing with the target. It is looked for
// afresh in every call: the host may change the handling of subnormals between blocks.
//
// The rest holds when rounding to nearest, which is what hosts run with, for envelopes within
// 0..1, where a step rounding to nearest keeps them. A thread that rounds in a fixed direction
// gets the formula as written: rounding upwards, for one, can carry an envelope above 1, which
// is why the range is checked too, in case such a block came before.
//
// The formula takes the decay coefficient when the target equals the envelope. With the open
// target that happens only at an envelope of exactly 1, where (envelope - target) is 0 and any
// finite coefficient gives 1 + 0 = 1: opening steps may always take the attack coefficient.
// With the closed target the attack coefficient is the formula's choice only below epsilon,
// which a fresh gate starts from. An envelope at or above epsilon stays there while the attack
// coefficient is below 1: a closing step lands between epsilon and the envelope, and an opening
// step gives at least 1 - attack >= 2^-24. Checked once per group of samples, this leaves the
// coefficient to the level alone, off the envelope's chain of dependent operations.
//
// Closing from at or above decayFloor (2^-41), subtracting or adding epsilon rounds back to the
// same float: epsilon is below half the spacing of floats there. So the step is one
// multiplication, envelope * decay, and the gain is the new envelope itself, for as long as
// the new envelope stays at or above decayFloor; the multiplication is the formula's own, so
// it rounds, and treats a subnormal coefficient, just as the formula does. The tests check
// both roundings for every float from decayFloor to 1.

namespace
{
constexpr float epsilon = GateCore::epsilon;
constexpr float openTarget = 1.0f + epsilon; // exactly 1.0f
constexpr float closedTarget = epsilon;
constexpr float decayFloor = 0x1p-41f;

/** The formula's step, as written; the reference every faster path is held to. */
inline float formulaStep (float envelope, bool above, float attack, float decay) noexcept
{
    const float target = above ? openTarget : closedTarget;
    const float coeff = target > envelope ? attack : decay;
    return target + (envelope - target) * coeff;
}

/** Target and coefficient of a step, by its decision (0 below, 1 above), for an envelope at
    or above epsilon with an attack coefficient below 1. */
struct StepConstants
{
    float target, coeff;
};

inline float step (float envelope, const StepConstants& constants) noexcept
{
    return constants.target + (envelope - constants.target) * constants.coeff;
}

/** Whether the calling thread rounds to nearest, as all but the steady shortcut require. */
inline bool roundsToNearest() noexcept
{
    return (_mm_getcsr() & _MM_ROUND_MASK) == _MM_ROUND_NEAREST;
}

inline __m128 absolute (__m128 values) noexcept
{
    return _mm_and_ps (values, _mm_castsi128_ps (_mm_set1_epi32 (0x7fffffff)));
}

/** Which of four levels are above the threshold, as bits 0..3; NaN counts as below. */
inline int aboveBits (__m128 levels, __m128 thresholds) noexcept
{
    return _mm_movemask_ps (_mm_cmpgt_ps (levels, thresholds));
}

constexpr int noneAbove = 0;
constexpr int allAbove = 15;
constexpr int notSteady = -1;

/** The samples of one channel, read and scaled four at a time or one by one. */
struct MonoFrames
{
    float* samples;

    __m128 levels (int i) const noexcept { return absolute (_mm_loadu_ps (samples + i)); }
    float level (int i) const noexcept { return std::abs (samples[i]); }
    void scale (int i, __m128 gains) const noexcept { _mm_storeu_ps (samples + i, _mm_mul_ps (_mm_loadu_ps (samples + i), gains)); }
    void scale (int i, float gain) const noexcept { samples[i] *= gain; }
};

/** A stereo pair under one envelope, driven by the louder channel. */
struct LinkedFrames
{
    float* left;
    float* right;

    // maxps gives its first operand when that is greater, else its second: the formula's choice,
    // NaN levels included.
    __m128 levels (int i) const noexcept { return _mm_max_ps (absolute (_mm_loadu_ps (left + i)), absolute (_mm_loadu_ps (right + i))); }

    float level (int i) const noexcept
    {
        const float levelLeft = std::abs (left[i]);
        const float levelRight = std::abs (right[i]);
        return levelLeft > levelRight ? levelLeft : levelRight;
    }

    void scale (int i, __m128 gains) const noexcept
    {
        _mm_storeu_ps (left + i, _mm_mul_ps (_mm_loadu_ps (left + i), gains));
        _mm_storeu_ps (right + i, _mm_mul_ps (_mm_loadu_ps (right + i), gains));
    }

    void scale (int i, float gain) const noexcept
    {
        left[i] *= gain;
        right[i] *= gain;
    }
};

/** Runs the formula over the frames with one envelope, four frames at a time; returns the
    envelope after the last frame. */
template <typename Frames>
float gateWithOneEnvelope (const Frames& frames, int numFrames, float envelope, float threshold, float attack, float decay) noexcept
{
    const __m128 thresholds = _mm_set1_ps (threshold);
    const bool nearest = roundsToNearest();
    const bool attackBelowOne = nearest && attack < 1.0f;
    const float closingFloor = nearest ? decayFloor : std::numeric_limits<float>::infinity();
    const StepConstants byDecision[2] = { { closedTarget, decay }, { openTarget, attack } };

    // The decisions of four frames that would each leave the envelope unchanged, with their
    // gain; notSteady when the last step changed the envelope.
    int steadyDecisions = notSteady;
    float steadyGain = 0.0f;
    int i = 0;

    for (; i + 4 <= numFrames; i += 4)
    {
        const int above = aboveBits (frames.levels (i), thresholds);

        if (above == steadyDecisions)
        {
            frames.scale (i, _mm_set1_ps (steadyGain));
            continue;
        }

        if (above == noneAbove && envelope >= closingFloor && envelope <= 1.0f)
        {
            const float e1 = envelope * decay;
            const float e2 = e1 * decay;
            const float e3 = e2 * decay;
            const float e4 = e3 * decay;

            // Each step lowers the envelope or keeps it, so the last one is the smallest.
            if (e4 >= decayFloor)
            {
                frames.scale (i, _mm_setr_ps (e1, e2, e3, e4));
                envelope = e4;
                steadyDecisions = notSteady;
                continue;
            }
        }

        const float before = envelope;
        float e1, e2, e3, e4;

        if (envelope >= closedTarget && envelope <= 1.0f && attackBelowOne)
        {
            e1 = step (before, byDecision[above & 1]);
            e2 = step (e1, byDecision[(above >> 1) & 1]);
            e3 = step (e2, byDecision[(above >> 2) & 1]);
            e4 = step (e3, byDecision[(above >> 3) & 1]);
        }
        else
        {
            e1 = formulaStep (before, (above & 1) != 0, attack, decay);
            e2 = formulaStep (e1, (above & 2) != 0, attack, decay);
            e3 = formulaStep (e2, (above & 4) != 0, attack, decay);
            e4 = formulaStep (e3, (above & 8) != 0, attack, decay);
        }

        const __m128 gains = _mm_sub_ps (_mm_setr_ps (e1, e2, e3, e4), _mm_set1_ps (epsilon));
        frames.scale (i, gains);
        envelope = e4;
        steadyDecisions = e4 == e3 ? ((above & 8) != 0 ? allAbove : noneAbove) : notSteady;
        steadyGain = _mm_cvtss_f32 (_mm_shuffle_ps (gains, gains, _MM_SHUFFLE (3, 3, 3, 3)));
    }

    for (; i < numFrames; ++i)
    {
        envelope = formulaStep (envelope, frames.level (i) > threshold, attack, decay);
        frames.scale (i, envelope - epsilon);
    }

    return envelope;
}

/** Four frames' gains, one vector per frame with the lanes left, right, left, right, turned
    into one vector per channel. */
inline void splitGains (__m128 g0, __m128 g1, __m128 g2, __m128 g3, __m128& left, __m128& right) noexcept
{
    const __m128 firstPair = _mm_unpacklo_ps (g0, g1);  // g0 left, g1 left, g0 right, g1 right
    const __m128 secondPair = _mm_unpacklo_ps (g2, g3); // g2 left, g3 left, g2 right, g3 right
    left = _mm_movelh_ps (firstPair, secondPair);
    right = _mm_movehl_ps (secondPair, firstPair);
}

inline void scaleFour (float* samples, __m128 gains) noexcept
{
    _mm_storeu_ps (samples, _mm_mul_ps (_mm_loadu_ps (samples), gains));
}
} // namespace

GateCore::GateCore (float threshold, float attackCoefficient, float decayCoefficient) noexcept
    : threshold_ (threshold)
    , attack_ (attackCoefficient)
    , decay_ (decayCoefficient)
{
}

void GateCore::processMono (float* samples, int numSamples, float& envelope) const noexcept
{
    envelope = gateWithOneEnvelope (MonoFrames { samples }, numSamples, envelope, threshold_, attack_, decay_);
}

void GateCore::processLinked (float* left, float* right, int numSamples, float& envelope) const noexcept
{
    envelope = gateWithOneEnvelope (LinkedFrames { left, right }, numSamples, envelope, threshold_, attack_, decay_);
}

void GateCore::processDualMono (float* left, float* right, int numSamples, float& envelopeLeft, float& envelopeRight) const noexcept
{
    // Both envelopes in one register, lanes left, right, left, right: every lane does the
    // operations the formula does for its channel, so each gets the formula's floats. The
    // repeated lanes keep real envelopes in the upper half, where nothing is read.
    __m128 envelopes = _mm_setr_ps (envelopeLeft, envelopeRight, envelopeLeft, envelopeRight);
    const __m128 thresholds = _mm_set1_ps (threshold_);
    const __m128 attacks = _mm_set1_ps (attack_);
    const __m128 decays = _mm_set1_ps (decay_);
    const __m128 epsilons = _mm_set1_ps (epsilon);
    const __m128 closedTargets = _mm_set1_ps (closedTarget);
    const __m128 ones = _mm_set1_ps (1.0f);
    const auto allWithin = [] (__m128 values, __m128 low, __m128 high)
    { return _mm_movemask_ps (_mm_and_ps (_mm_cmpge_ps (values, low), _mm_cmple_ps (values, high))) == 15; };
    const bool nearest = roundsToNearest();
    const __m128 decayFloors = _mm_set1_ps (nearest ? decayFloor : std::numeric_limits<float>::infinity());
    const bool attackBelowOne = nearest && attack_ < 1.0f;

    // Target and coefficient by the frame's pair of decisions (bit 0: left above, bit 1: right
    // above), for envelopes at or above epsilon.
    __m128 targets[4];
    __m128 coeffs[4];

    for (int pair = 0; pair < 4; ++pair)
    {
        const float targetLeft = (pair & 1) != 0 ? openTarget : closedTarget;
        const float targetRight = (pair & 2) != 0 ? openTarget : closedTarget;
        const float coeffLeft = (pair & 1) != 0 ? attack_ : decay_;
        const float coeffRight = (pair & 2) != 0 ? attack_ : decay_;
        targets[pair] = _mm_setr_ps (targetLeft, targetRight, targetLeft, targetRight);
        coeffs[pair] = _mm_setr_ps (coeffLeft, coeffRight, coeffLeft, coeffRight);
    }

    const auto formulaSteps = [&] (__m128 current, int pair)
    {
        const __m128 target = targets[pair];
        const __m128 attackWanted = _mm_cmpgt_ps (target, current);
        const __m128 coeff = _mm_or_ps (_mm_and_ps (attackWanted, attacks), _mm_andnot_ps (attackWanted, decays));
        return _mm_add_ps (target, _mm_mul_ps (_mm_sub_ps (current, target), coeff));
    };

    // Decisions of the four frames as left bits 0..3 and right bits 4..7, as in steadyDecisions.
    int steadyDecisions = notSteady;
    __m128 steadyGains = _mm_setzero_ps();
    int i = 0;

    for (; i + 4 <= numSamples; i += 4)
    {
        const int aboveLeft = aboveBits (absolute (_mm_loadu_ps (left + i)), thresholds);
        const int aboveRight = aboveBits (absolute (_mm_loadu_ps (right + i)), thresholds);
        const int decisions = aboveLeft | (aboveRight << 4);

        if (decisions == steadyDecisions)
        {
            scaleFour (left + i, _mm_shuffle_ps (steadyGains, steadyGains, _MM_SHUFFLE (0, 0, 0, 0)));
            scaleFour (right + i, _mm_shuffle_ps (steadyGains, steadyGains, _MM_SHUFFLE (1, 1, 1, 1)));
            continue;
        }

        __m128 gainsLeft, gainsRight;

        if (decisions == 0 && allWithin (envelopes, decayFloors, ones))
        {
            const __m128 e1 = _mm_mul_ps (envelopes, decays);
            const __m128 e2 = _mm_mul_ps (e1, decays);
            const __m128 e3 = _mm_mul_ps (e2, decays);
            const __m128 e4 = _mm_mul_ps (e3, decays);

            if (_mm_movemask_ps (_mm_cmpge_ps (e4, decayFloors)) == 15)
            {
                splitGains (e1, e2, e3, e4, gainsLeft, gainsRight);
                scaleFour (left + i, gainsLeft);
                scaleFour (right + i, gainsRight);
                envelopes = e4;
                steadyDecisions = notSteady;
                continue;
            }
        }

        const bool fromClosedOrAbove = attackBelowOne && allWithin (envelopes, closedTargets, ones);
        __m128 gains[4];
        __m128 beforeLast = envelopes;

        for (int frame = 0; frame < 4; ++frame)
        {
            const int pair = ((aboveLeft >> frame) & 1) | (((aboveRight >> frame) & 1) << 1);
            beforeLast = envelopes;
            envelopes = fromClosedOrAbove ? _mm_add_ps (targets[pair], _mm_mul_ps (_mm_sub_ps (envelopes, targets[pair]), coeffs[pair]))
                                          : formulaSteps (envelopes, pair);
            gains[frame] = _mm_sub_ps (envelopes, epsilons);
        }

        const bool unchanged = _mm_movemask_ps (_mm_cmpeq_ps (envelopes, beforeLast)) == 15;
        steadyDecisions = unchanged ? ((aboveLeft & 8) != 0 ? 0x0f : 0) | ((aboveRight & 8) != 0 ? 0xf0 : 0) : notSteady;
        steadyGains = gains[3];
        splitGains (gains[0], gains[1], gains[2], gains[3], gainsLeft, gainsRight);
        scaleFour (left + i, gainsLeft);
        scaleFour (right + i, gainsRight);
    }

    for (; i < numSamples; ++i)
    {
        const int pair = (std::abs (left[i]) > threshold_ ? 1 : 0) | (std::abs (right[i]) > threshold_ ? 2 : 0);
        envelopes = formulaSteps (envelopes, pair);
        alignas (16) float gains[4];
        _mm_store_ps (gains, _mm_sub_ps (envelopes, epsilons));
        left[i] *= gains[0];
        right[i] *= gains[1];
    }

    alignas (16) float lanes[4];
    _mm_store_ps (lanes, envelopes);
    envelopeLeft = lanes[0];
    envelopeRight = lanes[1];
}
