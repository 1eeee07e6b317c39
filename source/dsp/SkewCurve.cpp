#include "SkewCurve.h"

#include <cmath>

float skewCurve (float value) noexcept { return (std::pow (81.0f, value) - 1.0f) * 0.0125f; }

double skewCurve (double value) noexcept { return (std::pow (81.0, value) - 1.0) * 0.0125; }
