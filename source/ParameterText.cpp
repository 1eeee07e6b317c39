#include "ParameterText.h"

#include "dsp/SkewCurve.h"

#include <cmath>

namespace ParameterText
{
juce::String formatTwoDecimals (double x)
{
    const double magnitude = std::abs (x);

    // Beyond this the hundredths no longer fit a 64-bit integer (and infinities and NaN
    // never do); the framework's own conversion is good enough for such values.
    if (! (magnitude < 1.0e15))
        return juce::String (x, 2);

    const auto hundredths = static_cast<long long> (magnitude * 100.0 + 0.5);
    const auto fraction = static_cast<int> (hundredths % 100);

    return juce::String (x < 0.0 ? "-" : "")
         + juce::String (hundredths / 100)
         + (fraction < 10 ? ".0" : ".")
         + juce::String (fraction);
}

namespace
{
juce::String withUnit (double x, const char* unit) { return formatTwoDecimals (x) + unit; }
} // namespace

juce::String hostText (int index, float value)
{
    switch (index)
    {
        case 0:
        case 1:
            return value == 0.0f ? "Off" : "On";

        case 2:
            if (value <= 0.0f)
                return "-oo";
            return withUnit (20.0 * static_cast<double> (std::log10 (skewCurve (value * value))), " dB");

        case 3:
            return withUnit (200.0 * static_cast<double> (skewCurve (value)), " ms");

        case 4:
            return withUnit (2000.0 * static_cast<double> (skewCurve (value)), " ms");

        default:
            return {};
    }
}

juce::String thresholdKnobText (double value)
{
    if (value <= 0.0)
        return "-oo";

    return withUnit (20.0 * std::log10 (skewCurve (value * value)), " dB");
}

juce::String attackKnobText (double value) { return withUnit (200.0 * skewCurve (value), " ms"); }

juce::String decayKnobText (double value) { return withUnit (2000.0 * skewCurve (value), " ms"); }
} // namespace ParameterText
