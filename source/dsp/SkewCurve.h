#pragma once

/**
    The one skew of the plug-in: (81^v - 1) * 0.0125, mapping 0..1 onto 0..1
    (0 -> 0, 0.5 -> 0.1, 1 -> 1). Threshold, attack and decay scales are built on it.

    The float version is what the gate and the host texts use; the double version serves
    the knob texts. Pure functions, any thread.
*/
float skewCurve (float value) noexcept;

/** The same formula in double precision. */
double skewCurve (double value) noexcept;

/** The v whose skewCurve (v) is skewed, in double precision: log81 (1 + 80 * skewed). */
double inverseSkewCurve (double skewed) noexcept;
