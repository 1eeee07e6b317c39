#pragma once

/**
    Conversions from the units users think in to the normalised values (0..1) the plug-in's
    parameters carry: the inverses of the value texts that hosts and the knobs show, so that
    asking for "-32.04 dB" gives the value whose text reads -32.04 dB.

    Inputs outside a parameter's range are clamped to it (callers that must refuse them check
    the range first); NaN gives 0. Pure functions, any thread.
*/
namespace ParameterUnits
{
/** The threshold's range in dB is -infinity..0; 0 dB is full scale. */
constexpr double maxThresholdDecibels = 0.0;

/** Attack times run 0..200 ms, decay times 0..2000 ms. */
constexpr double maxAttackMilliseconds = 200.0;
constexpr double maxDecayMilliseconds = 2000.0;

/** The normalised threshold v with 20 * log10 (skewCurve (v * v)) = decibels; -infinity
    gives 0 (only digital silence closes the gate). */
double thresholdFromDecibels (double decibels) noexcept;

/** The normalised attack v with 200 * skewCurve (v) = milliseconds. */
double attackFromMilliseconds (double milliseconds) noexcept;

/** The normalised decay v with 2000 * skewCurve (v) = milliseconds. */
double decayFromMilliseconds (double milliseconds) noexcept;
} // namespace ParameterUnits
