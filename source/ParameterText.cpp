#include "ParameterText.h"

#include "dsp/SkewCurve.h"

#include <charconv>
#include <cmath>

namespace ParameterText
{
juce::String formatTwoDecimals (double x)
{
    const double magnitude = std::abs (x);

    if (! std::isfinite (x))
        return juce::String (x, 2); // "inf", "-inf", "nan"

    // Beyond this the hundredths no longer fit a 64-bit integer. JUCE's own conversion would
    // cut such a number off after 48 characters, decimals and all; std::to_chars writes every
    // digit (up to 309 before the point).
    if (! (magnitude < 1.0e15))
    {
        char text[320];
        const auto result = std::to_chars (text, text + sizeof (text), x, std::chars_format::fixed, 2);
        return juce::String (text, static_cast<size_t> (result.ptr - text));
    }

    const auto hundredths = static_cast<long long> (magnitude * 100.0 + 0.5);
    const auto fraction = static_cast<int> (hundredths % 100);

    return juce::String (x < 0.0 ? "-" : "") + juce::String (hundredths / 100) + (fraction < 10 ? ".0" : ".") + juce::String (fraction);
}

namespace
{
constexpr const char* minusInfinity = "-oo";

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
        {
            if (value <= 0.0f)
                return minusInfinity;

            // A value above 0 but below about 0.0001 gives a level that single precision
            // rounds to 0: the gate is as open as at 0, and "-inf dB" is no text to show.
            const float level = skewCurve (value * value);

            if (level == 0.0f)
                return minusInfinity;

            return withUnit (20.0 * static_cast<double> (std::log10 (level)), " dB");
        }

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
        return minusInfinity;

    // As in the host text: a level that rounds to 0 is minus infinity.
    const double level = skewCurve (value * value);

    if (level == 0.0)
        return minusInfinity;

    return withUnit (20.0 * std::log10 (level), " dB");
}

juce::String attackKnobText (double value) { return withUnit (200.0 * skewCurve (value), " ms"); }

juce::String decayKnobText (double value) { return withUnit (2000.0 * skewCurve (value), " ms"); }
} // namespace ParameterText
