#include "ParameterUnits.h"

#include <algorithm>
#include <cmath>

namespace ParameterUnits
{
namespace
{
// skewCurve (v) = (81^v - 1) * 0.0125 solved for v: log81 (1 + 80 * skew).
double inverseSkew (double skewed) noexcept { return std::log1p (80.0 * skewed) / std::log (81.0); }

double clampNormalised (double value) noexcept
{
    // NaN fails both comparisons in std::clamp and would pass straight through.
    return std::isnan (value) ? 0.0 : std::clamp (value, 0.0, 1.0);
}

double fromTime (double milliseconds, double fullScaleMilliseconds) noexcept
{
    if (std::isnan (milliseconds))
        return 0.0;

    return clampNormalised (inverseSkew (std::clamp (milliseconds, 0.0, fullScaleMilliseconds) / fullScaleMilliseconds));
}
} // namespace

double thresholdFromDecibels (double decibels) noexcept
{
    if (std::isnan (decibels))
        return 0.0;

    const double amplitude = std::pow (10.0, std::min (decibels, maxThresholdDecibels) / 20.0);
    return clampNormalised (std::sqrt (inverseSkew (amplitude)));
}

double attackFromMilliseconds (double milliseconds) noexcept
{
    return fromTime (milliseconds, maxAttackMilliseconds);
}

double decayFromMilliseconds (double milliseconds) noexcept
{
    return fromTime (milliseconds, maxDecayMilliseconds);
}
} // namespace ParameterUnits
