// The renderer's unit conversions must be the inverses of the texts hosts and knobs show.
#include "ParameterUnits.h"
#include "ParameterText.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr double knobStep = 0.001;

// "-32.04 dB" -> -32.04; "20.00 ms" -> 20.0
double numberIn (const juce::String& text) { return text.upToFirstOccurrenceOf (" ", false, false).getDoubleValue(); }
} // namespace

TEST (ParameterUnits, InvertTheKnobTextsOnEveryKnobStep)
{
    for (int step = 1; step <= 1000; ++step)
    {
        const double value = step * knobStep;
        SCOPED_TRACE ("knob value " + juce::String (value, 3).toStdString());

        EXPECT_NEAR (ParameterUnits::thresholdFromDecibels (numberIn (ParameterText::thresholdKnobText (value))), value, knobStep);
        EXPECT_NEAR (ParameterUnits::attackFromMilliseconds (numberIn (ParameterText::attackKnobText (value))), value, knobStep);
        EXPECT_NEAR (ParameterUnits::decayFromMilliseconds (numberIn (ParameterText::decayKnobText (value))), value, knobStep);

        // The host texts are computed in single precision; they invert just as well.
        const auto hostValue = static_cast<float> (value);
        EXPECT_NEAR (ParameterUnits::thresholdFromDecibels (numberIn (ParameterText::hostText (2, hostValue))), value, knobStep);
        EXPECT_NEAR (ParameterUnits::decayFromMilliseconds (numberIn (ParameterText::hostText (4, hostValue))), value, knobStep);
    }
}

TEST (ParameterUnits, MeetTheScalesAtTheirLandmarks)
{
    EXPECT_NEAR (ParameterUnits::thresholdFromDecibels (-32.04), 0.5, knobStep);
    EXPECT_NEAR (ParameterUnits::thresholdFromDecibels (-17.36), 0.75, knobStep);
    EXPECT_DOUBLE_EQ (ParameterUnits::thresholdFromDecibels (0.0), 1.0);
    EXPECT_DOUBLE_EQ (ParameterUnits::thresholdFromDecibels (-HUGE_VAL), 0.0);

    EXPECT_NEAR (ParameterUnits::attackFromMilliseconds (2.0), 0.134, knobStep);
    EXPECT_NEAR (ParameterUnits::attackFromMilliseconds (20.0), 0.5, 1.0e-12);
    EXPECT_DOUBLE_EQ (ParameterUnits::attackFromMilliseconds (0.0), 0.0);
    EXPECT_NEAR (ParameterUnits::decayFromMilliseconds (100.42), 0.367, knobStep);
    EXPECT_NEAR (ParameterUnits::decayFromMilliseconds (2000.0), 1.0, 1.0e-12);
}

TEST (ParameterUnits, ClampWhatLiesOutsideTheScales)
{
    EXPECT_DOUBLE_EQ (ParameterUnits::thresholdFromDecibels (6.0), 1.0);
    EXPECT_DOUBLE_EQ (ParameterUnits::attackFromMilliseconds (-5.0), 0.0);
    EXPECT_DOUBLE_EQ (ParameterUnits::attackFromMilliseconds (1000.0), 1.0);
    EXPECT_DOUBLE_EQ (ParameterUnits::decayFromMilliseconds (1.0e9), 1.0);
    EXPECT_DOUBLE_EQ (ParameterUnits::thresholdFromDecibels (std::nan ("")), 0.0);
    EXPECT_DOUBLE_EQ (ParameterUnits::decayFromMilliseconds (std::nan ("")), 0.0);
}
