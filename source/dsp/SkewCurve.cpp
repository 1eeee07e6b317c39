#include "SkewCurve.h"

#include <cmath>

namespace
{
// (base^v - 1) * factor, with factor = 1 / (base - 1) so that 1 maps onto 1. The float version
// rounds both to the same floats as the literals 81.0f and 0.0125f.
constexpr double base = 81.0;
constexpr double factor = 0.0125;
} // namespace

float skewCurve (float value) noexcept { return (std::pow (static_cast<float> (base), value) - 1.0f) * static_cast<float> (factor); }

double skewCurve (double value) noexcept { return (std::pow (base, value) - 1.0) * factor; }

double inverseSkewCurve (double skewed) noexcept { return std::log1p ((1.0 / factor) * skewed) / std::log (base); }
