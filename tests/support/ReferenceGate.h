#pragma once

#include "dsp/NoiseGate.h"

#include <cmath>

/**
    The gate written out one sample at a time, for clarity rather than speed: the per-sample
    formula, the on switch's crossfade and what happens where a fade ends inside a block. The
    tests hold the real gate to it bit for bit.

    It keeps its own envelopes and crossfade, and takes threshold and coefficients as given
    (from a NoiseGate's working values or chosen freely), so that only the processing is
    compared.
*/
struct ReferenceGate
{
    float threshold = 0.0f;
    float attack = 0.0f;
    float decay = 0.0f;
    float envelopeA = 0.0f;
    float envelopeB = 0.0f;

    NoiseGate::FadeState fadeState = NoiseGate::Active;
    float fadeStep = 1.0f / 2048.0f;
    float wetGain = 1.0f;
    float dryGain = 0.0f;

    /** Takes over a gate's threshold and coefficients. */
    void copyWorkingValues (const NoiseGate& gate)
    {
        threshold = gate.getThresholdLinear();
        attack = gate.getAttackCoefficient();
        decay = gate.getDecayCoefficient();
    }

    /** One step of the formula: moves the envelope and returns the gain for the sample. */
    float gain (float& envelope, float level) const
    {
        const float epsilon = 1e-20f;
        const float target = level > threshold ? 1.0f + epsilon : epsilon;
        const float coefficient = target > envelope ? attack : decay;
        envelope = target + (envelope - target) * coefficient;
        return envelope - epsilon;
    }

    /** The on switch taken over between blocks: a fade towards the new state, continuing
        from the current mix. */
    void switchTo (bool on)
    {
        const bool wasOn = fadeState == NoiseGate::Active || fadeState == NoiseGate::FadingIn;

        if (on != wasOn)
            fadeState = on ? NoiseGate::FadingIn : NoiseGate::FadingOut;
    }

    void processMono (float* samples, int numSamples) { process (samples, nullptr, numSamples, false, false); }

    void processStereo (float* left, float* right, int numSamples, bool dualMono)
    {
        process (left, right, numSamples, true, dualMono);
    }

private:
    void process (float* left, float* right, int numSamples, bool stereo, bool dualMono)
    {
        const bool oneEnvelope = ! stereo || ! dualMono;
        const bool inCircuit = fadeState != NoiseGate::Bypassed;

        for (int i = 0; i < numSamples; ++i)
        {
            if (fadeState == NoiseGate::Bypassed)
                continue; // untouched, envelopes frozen

            const float inLeft = left[i];
            const float inRight = stereo ? right[i] : 0.0f;
            float gatedLeft = inLeft;
            float gatedRight = inRight;

            if (! stereo)
            {
                gatedLeft *= gain (envelopeA, std::fabs (inLeft));
            }
            else if (dualMono)
            {
                gatedLeft *= gain (envelopeA, std::fabs (inLeft));
                gatedRight *= gain (envelopeB, std::fabs (inRight));
            }
            else
            {
                const float levelLeft = std::fabs (inLeft);
                const float levelRight = std::fabs (inRight);
                const float g = gain (envelopeA, levelLeft > levelRight ? levelLeft : levelRight);
                gatedLeft *= g;
                gatedRight *= g;
            }

            if (fadeState == NoiseGate::Active)
            {
                left[i] = gatedLeft;
                if (stereo)
                    right[i] = gatedRight;
                continue;
            }

            left[i] = gatedLeft * wetGain + inLeft * dryGain;
            if (stereo)
                right[i] = gatedRight * wetGain + inRight * dryGain;

            float& rising = fadeState == NoiseGate::FadingIn ? wetGain : dryGain;
            float& falling = fadeState == NoiseGate::FadingIn ? dryGain : wetGain;

            if (rising < 1.0f)
            {
                rising += fadeStep;
                falling -= fadeStep;
            }
            else
            {
                rising = 1.0f;
                falling = 0.0f;
                fadeState = fadeState == NoiseGate::FadingIn ? NoiseGate::Active : NoiseGate::Bypassed;
            }
        }

        // One envelope drives both: afterwards the right one holds the same value, even after an
        // empty block, unless the block found the gate out of circuit.
        if (oneEnvelope && inCircuit)
            envelopeB = envelopeA;
    }
};
