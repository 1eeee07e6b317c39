#pragma once

/**
    The gate's per-sample formula run over whole blocks of plain float arrays. For every
    sample, in single precision and in this order:

        level    = |sample|  (linked stereo: the larger of the two channels' levels)
        target   = level > threshold ? 1 + epsilon : epsilon   (1 + epsilon is 1.0f)
        coeff    = target > envelope ? attack : decay
        envelope = target + (envelope - target) * coeff
        sample  *= envelope - epsilon

    The result is that formula's, bit for bit, under whatever flush-to-zero and
    denormals-are-zero modes the calling thread runs with: the faster paths inside are taken
    only where they provably give the same floats (the reasons stand beside each of them in
    GateCore.cpp).

    Ranges: envelopes at or above 0 (resets and the formula keep them within 0..1, except that
    rounding upwards may lift them a little above 1); coefficients in 0..1. Any threshold and
    any sample value is allowed: NaN levels count as below.
    Real-time safe (no allocation, no locks); any thread, one call at a time per envelope.
*/
class GateCore
{
public:
    /** 1e-20 rounded to a float: keeps the closed envelope clear of subnormal numbers. */
    static constexpr float epsilon = 1e-20f;

    /** threshold: linear amplitude; attack and decay: one-pole coefficients in 0..1. */
    GateCore (float threshold, float attackCoefficient, float decayCoefficient) noexcept;

    /** Gates numSamples samples in place, stepping envelope once per sample. */
    void processMono (float* samples, int numSamples, float& envelope) const noexcept;

    /** Gates a stereo pair in place with one envelope, driven by the louder channel. The two
        channels must not overlap. */
    void processLinked (float* left, float* right, int numSamples, float& envelope) const noexcept;

    /** Gates each channel of a stereo pair by its own envelope, both stepped side by side.
        The two channels must not overlap. */
    void processDualMono (float* left, float* right, int numSamples, float& envelopeLeft, float& envelopeRight) const noexcept;

private:
    float threshold_, attack_, decay_;
};
