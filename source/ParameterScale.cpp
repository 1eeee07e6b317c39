#include "ParameterScale.h"

#include <algorithm>

namespace ParameterScale
{
namespace
{
double clampNormalised (double value) noexcept
{
    // NaN fails both comparisons in std::clamp and would pass straight through.
    return std::isnan (value) ? 0.0 : std::clamp (value, 0.0, 1.0);
}

double fromTime (double milliseconds, double fullScale) noexcept
{
    return clampNormalised (inverseSkewCurve (std::clamp (milliseconds, 0.0, fullScale) / fullScale));
}
} // namespace

double thresholdFromDecibels (double decibels) noexcept
{
    const double level = std::pow (10.0, std::min (decibels, maxThresholdDecibels) / 20.0);
    return clampNormalised (std::sqrt (inverseSkewCurve (level)));
}

double attackFromMilliseconds (double milliseconds) noexcept { return fromTime (milliseconds, maxAttackMilliseconds); }
double decayFromMilliseconds (double milliseconds) noexcept { return fromTime (milliseconds, maxDecayMilliseconds); }
} // namespace ParameterScale
