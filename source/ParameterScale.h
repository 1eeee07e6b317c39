#pragma once

#include "dsp/NoiseGate.h"

/**
    What a normalised parameter value (0..1) means in the units users think in, and back:
    the threshold in dB, attack and decay in ms. The gate's own constants define the scales;
    the value texts, the renderer's options and the comparisons with other gates all read
    them from here.

    The float overloads compute as the host texts do (skew and logarithm in single precision,
    like the gate; the final factor in double); the double overloads compute all in double,
    as the knob texts do. The inverses work in double: decibels or milliseconds in, the
    normalised value out, clamped to 0..1, NaN giving 0. Pure functions, any thread.
*/
namespace ParameterScale
{
/** Full scale of each physical range: 0 dB (a threshold level of 1), 200 ms, 2000 ms. */
constexpr double maxThresholdDecibels = 0.0;
constexpr double maxAttackMilliseconds = NoiseGate::attackFullScaleMs;
constexpr double maxDecayMilliseconds = NoiseGate::decayFullScaleMs;

/** 20 * log10 of the threshold level; minus infinity for a value of 0 or below, and
    wherever the level rounds to 0. */
double thresholdDecibels (float value) noexcept;
double thresholdDecibels (double value) noexcept;

/** maxAttackMilliseconds * skewCurve (value). */
double attackMilliseconds (float value) noexcept;
double attackMilliseconds (double value) noexcept;

/** maxDecayMilliseconds * skewCurve (value). */
double decayMilliseconds (float value) noexcept;
double decayMilliseconds (double value) noexcept;

/** The value whose threshold is decibels; minus infinity gives 0, anything above 0 dB 1. */
double thresholdFromDecibels (double decibels) noexcept;

/** The value whose attack is milliseconds, clamped to 0..maxAttackMilliseconds first. */
double attackFromMilliseconds (double milliseconds) noexcept;

/** The value whose decay is milliseconds, clamped to 0..maxDecayMilliseconds first. */
double decayFromMilliseconds (double milliseconds) noexcept;
} // namespace ParameterScale
