#pragma once

#include "dsp/NoiseGate.h"

#include <cmath>
#include <limits>

/**
    A normalised parameter value (0..1) in users' units and back, on the gate's own scales:
    the threshold in dB, attack and decay in ms. The forward conversions compute in their
    argument's precision (a float, as the gate and the host texts do), then scale in double;
    the inverses work in double and clamp to 0..1, NaN to 0. Pure functions, any thread.
*/
namespace ParameterScale
{
/** Full scale of each physical range: 0 dB (a threshold level of 1), 200 ms, 2000 ms. */
constexpr double maxThresholdDecibels = 0.0;
constexpr double maxAttackMilliseconds = NoiseGate::attackFullScaleMs;
constexpr double maxDecayMilliseconds = NoiseGate::decayFullScaleMs;

/** 20 * log10 of the threshold level; minus infinity for a value of 0 or below, and
    wherever the level rounds to 0. Value is float or double. */
template <typename Value>
double thresholdDecibels (Value value) noexcept
{
    // A negative value would square to a positive level.
    if (value <= Value (0))
        return -std::numeric_limits<double>::infinity();

    return 20.0 * static_cast<double> (std::log10 (NoiseGate::thresholdLevel (value)));
}

/** maxAttackMilliseconds * skewCurve (value); value is float or double. */
template <typename Value>
double attackMilliseconds (Value value) noexcept { return maxAttackMilliseconds * static_cast<double> (skewCurve (value)); }
/** maxDecayMilliseconds * skewCurve (value); value is float or double. */
template <typename Value>
double decayMilliseconds (Value value) noexcept { return maxDecayMilliseconds * static_cast<double> (skewCurve (value)); }

/** The value whose threshold is decibels; minus infinity gives 0, anything above 0 dB 1. */
double thresholdFromDecibels (double decibels) noexcept;
/** The value whose attack is milliseconds, clamped to 0..maxAttackMilliseconds first. */
double attackFromMilliseconds (double milliseconds) noexcept;
/** The value whose decay is milliseconds, clamped to 0..maxDecayMilliseconds first. */
double decayFromMilliseconds (double milliseconds) noexcept;
} // namespace ParameterScale
