#include "ParameterText.h"

#include "ParameterScale.h"

#include <charconv>
#include <cmath>
#include <limits>

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
juce::String withUnit (double x, const char* unit) { return formatTwoDecimals (x) + unit; }

// A level of 0 (a value of 0 or below, or one so small that its level rounds to 0) leaves
// the gate as open as it gets; "-inf dB" is no text to show for it.
juce::String decibelText (double decibels)
{
    return decibels == -std::numeric_limits<double>::infinity() ? "-oo" : withUnit (decibels, " dB");
}
} // namespace

juce::String hostText (int index, float value)
{
    switch (index)
    {
        case 0:
        case 1:
            return value == 0.0f ? "Off" : "On";

        case 2: return decibelText (ParameterScale::thresholdDecibels (value));
        case 3: return withUnit (ParameterScale::attackMilliseconds (value), " ms");
        case 4: return withUnit (ParameterScale::decayMilliseconds (value), " ms");
        default: return {};
    }
}

juce::String thresholdKnobText (double value) { return decibelText (ParameterScale::thresholdDecibels (value)); }
juce::String attackKnobText (double value) { return withUnit (ParameterScale::attackMilliseconds (value), " ms"); }
juce::String decayKnobText (double value) { return withUnit (ParameterScale::decayMilliseconds (value), " ms"); }
} // namespace ParameterText
