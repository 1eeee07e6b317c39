// The scales in users' units: the inverses must undo the texts that hosts and knobs show.
#include "ParameterScale.h"
#include "ParameterText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
// "-32.04 dB" -> -32.04, "20.00 ms" -> 20.0, "-oo" -> minus infinity.
double numberIn (const juce::String& text)
{
    return text == "-oo" ? -HUGE_VAL : text.upToFirstOccurrenceOf (" ", false, false).getDoubleValue();
}
} // namespace

TEST (ParameterScale, EveryTextOnTheKnobGridLeadsBackToAValueWithThatText)
{
    // Typing what a knob or host shows (say the renderer's --threshold -32.04) must give a
    // value that shows the very same text.
    const struct
    {
        int index;
        juce::String (*knobText) (double);
        double (*inverse) (double) noexcept;
    } scales[] = {
        { 2, ParameterText::thresholdKnobText, ParameterScale::thresholdFromDecibels },
        { 3, ParameterText::attackKnobText, ParameterScale::attackFromMilliseconds },
        { 4, ParameterText::decayKnobText, ParameterScale::decayFromMilliseconds },
    };

    for (int step = 0; step <= 1000; ++step)
    {
        const double value = step / 1000.0;

        for (const auto& scale : scales)
        {
            const auto knob = scale.knobText (value);
            EXPECT_EQ (scale.knobText (scale.inverse (numberIn (knob))), knob) << value;

            // In single precision, from the float a host or the renderer stores.
            const auto host = ParameterText::hostText (scale.index, static_cast<float> (value));
            EXPECT_EQ (ParameterText::hostText (scale.index, static_cast<float> (scale.inverse (numberIn (host)))), host) << value;
        }
    }
}

TEST (ParameterScale, InversesClampWhatLiesOutsideTheScales)
{
    EXPECT_DOUBLE_EQ (ParameterScale::thresholdFromDecibels (6.0), 1.0);
    EXPECT_DOUBLE_EQ (ParameterScale::attackFromMilliseconds (-5.0), 0.0);
    EXPECT_DOUBLE_EQ (ParameterScale::attackFromMilliseconds (1000.0), 1.0);
    EXPECT_DOUBLE_EQ (ParameterScale::decayFromMilliseconds (1.0e9), 1.0);
    EXPECT_DOUBLE_EQ (ParameterScale::thresholdFromDecibels (std::nan ("")), 0.0);
    EXPECT_DOUBLE_EQ (ParameterScale::decayFromMilliseconds (std::nan ("")), 0.0);
}
