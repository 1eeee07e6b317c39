#include "ParameterScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ParameterScale
{
namespace
{
constexpr double minusInfinity = -std::numeric_limits<double>::infinity();

// The float level's logarithm is taken in float, as the gate would compare it; only the
// factor 20 is applied in double.
template <typename Value>
double decibelsOf (Value value) noexcept
{
    if (value <= Value (0))
        return minusInfinity;

    return 20.0 * static_cast<double> (std::log10 (NoiseGate::thresholdLevel (value)));
}

double clampNormalised (double value) noexcept
{
    // NaN fails both comparisons in std::clamp and would pass straight through.
    return std::isnan (value) ? 0.0 : std::clamp (value, 0.0, 1.0);
}

double fromTime (double milliseconds, double fullScale) noexcept
{
    if (std::isnan (milliseconds))
        return 0.0;

    return clampNormalised (inverseSkewCurve (std::clamp (milliseconds, 0.0, fullScale) / fullScale));
}
} // namespace

double thresholdDecibels (float value) noexcept { return decibelsOf (value); }
double thresholdDecibels (double value) noexcept { return decibelsOf (value); }

double attackMilliseconds (float value) noexcept { return maxAttackMilliseconds * static_cast<double> (skewCurve (value)); }
double attackMilliseconds (double value) noexcept { return maxAttackMilliseconds * skewCurve (value); }

double decayMilliseconds (float value) noexcept { return maxDecayMilliseconds * static_cast<double> (skewCurve (value)); }
double decayMilliseconds (double value) noexcept { return maxDecayMilliseconds * skewCurve (value); }

double thresholdFromDecibels (double decibels) noexcept
{
    if (std::isnan (decibels))
        return 0.0;

    const double level = std::pow (10.0, std::min (decibels, maxThresholdDecibels) / 20.0);
    return clampNormalised (std::sqrt (inverseSkewCurve (level)));
}

double attackFromMilliseconds (double milliseconds) noexcept { return fromTime (milliseconds, maxAttackMilliseconds); }

double decayFromMilliseconds (double milliseconds) noexcept { return fromTime (milliseconds, maxDecayMilliseconds); }
} // namespace ParameterScale
