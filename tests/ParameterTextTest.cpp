// The texts that show parameter values to hosts (single precision) and on the knobs (double).
#include "ParameterText.h"

#include <gtest/gtest.h>

#include <limits>

TEST (ParameterText, TellingRowsReadTheSameToHostsAndOnTheKnobs)
{
    struct Row
    {
        float value;
        const char* threshold;
        const char* attack;
        const char* decay;
    };

    const Row rows[] = {
        { 0.0f, "-oo", "0.00 ms", "0.00 ms" },
        { 0.1f, "-65.01 dB", "1.38 ms", "13.80 ms" },
        { 0.25f, "-48.07 dB", "5.00 ms", "50.00 ms" },
        { 0.5f, "-32.04 dB", "20.00 ms", "200.00 ms" },
        { 0.75f, "-17.36 dB", "65.00 ms", "650.00 ms" },
        { 1.0f, "0.00 dB", "200.00 ms", "2000.00 ms" },
        { 0.134f, "-59.77 dB", "2.00 ms", "20.05 ms" },
        { 0.367f, "-39.92 dB", "10.04 ms", "100.42 ms" },
        { 0.999f, "-0.08 dB", "199.11 ms", "1991.12 ms" },
    };

    for (const auto& row : rows)
    {
        const auto knobValue = static_cast<double> (row.value);
        EXPECT_EQ (ParameterText::hostText (2, row.value), row.threshold) << row.value;
        EXPECT_EQ (ParameterText::hostText (3, row.value), row.attack) << row.value;
        EXPECT_EQ (ParameterText::hostText (4, row.value), row.decay) << row.value;
        EXPECT_EQ (ParameterText::thresholdKnobText (knobValue), row.threshold) << row.value;
        EXPECT_EQ (ParameterText::attackKnobText (knobValue), row.attack) << row.value;
        EXPECT_EQ (ParameterText::decayKnobText (knobValue), row.decay) << row.value;
    }
}

TEST (ParameterText, TheQuietEndShowsWhereSinglePrecisionRunsOut)
{
    // The knob's smallest step above 0: in double the exact level; in single precision
    // 81^(v * v) - 1 keeps only a few digits and the host text lands some tenths away.
    EXPECT_EQ (ParameterText::thresholdKnobText (0.001), "-145.20 dB");
    const auto host = ParameterText::hostText (2, 0.001f);
    EXPECT_NE (host, "-145.20 dB");
    ASSERT_TRUE (host.endsWith (" dB"));
    EXPECT_NEAR (host.dropLastCharacters (3).getDoubleValue(), -145.20, 1.0);

    // Zero and anything below it is minus infinity, on both.
    for (const float value : { 0.0f, -0.0f, -0.5f })
    {
        EXPECT_EQ (ParameterText::hostText (2, value), "-oo");
        EXPECT_EQ (ParameterText::thresholdKnobText (static_cast<double> (value)), "-oo");
    }

    // So are values so close above zero that the level rounds to zero: in single precision
    // for the host text, in double precision for the knob.
    for (const float value : { 1.0e-5f, std::numeric_limits<float>::denorm_min() })
        EXPECT_EQ (ParameterText::hostText (2, value), "-oo") << value;

    EXPECT_EQ (ParameterText::thresholdKnobText (1.0e-9), "-oo");
    EXPECT_NE (ParameterText::thresholdKnobText (1.0e-5), "-oo");
}

TEST (ParameterText, AHairBelowFullScaleKeepsItsMinusSign)
{
    EXPECT_EQ (ParameterText::hostText (2, 0.99999f), "-0.00 dB");
    EXPECT_EQ (ParameterText::thresholdKnobText (0.99999), "-0.00 dB");
    EXPECT_EQ (ParameterText::hostText (2, 1.0f), "0.00 dB");
}

TEST (ParameterText, SwitchesAreOffOnlyAtExactlyZero)
{
    for (const int index : { 0, 1 })
    {
        EXPECT_EQ (ParameterText::hostText (index, 0.0f), "Off");
        EXPECT_EQ (ParameterText::hostText (index, 0.5f), "On");
        EXPECT_EQ (ParameterText::hostText (index, 1.0f), "On");
        EXPECT_EQ (ParameterText::hostText (index, std::numeric_limits<float>::denorm_min()), "On");
        EXPECT_EQ (ParameterText::hostText (index, -1.0f), "On");
    }

    EXPECT_EQ (ParameterText::hostText (5, 0.5f), "");
    EXPECT_EQ (ParameterText::hostText (-1, 0.5f), "");
}

TEST (ParameterText, NumbersRoundHalfUpWithTwoDecimals)
{
    // Half up on the binary value times 100, not the nearest-even rounding of printf: 0.125
    // gives 0.13 and 2.675 (a hair below in binary, but 267.5 after scaling) gives 2.68.
    EXPECT_EQ (ParameterText::formatTwoDecimals (0.125), "0.13");
    EXPECT_EQ (ParameterText::formatTwoDecimals (2.675), "2.68");
    EXPECT_EQ (ParameterText::formatTwoDecimals (2.005), "2.01");
    EXPECT_EQ (ParameterText::formatTwoDecimals (1.005), "1.00");
    EXPECT_EQ (ParameterText::formatTwoDecimals (0.995), "1.00");
    EXPECT_EQ (ParameterText::formatTwoDecimals (-0.125), "-0.13");
    EXPECT_EQ (ParameterText::formatTwoDecimals (-0.001), "-0.00");
    EXPECT_EQ (ParameterText::formatTwoDecimals (0.0), "0.00");
    EXPECT_EQ (ParameterText::formatTwoDecimals (0.07), "0.07");
    EXPECT_EQ (ParameterText::formatTwoDecimals (1234567.891), "1234567.89");

    // Every digit of a huge number, and its decimals; JUCE's words for the rest.
    EXPECT_EQ (ParameterText::formatTwoDecimals (1.0e50), "100000000000000007629769841091887003294964970946560.00");
    EXPECT_EQ (ParameterText::formatTwoDecimals (-std::numeric_limits<double>::max()).length(), 313);
    EXPECT_EQ (ParameterText::attackKnobText (30.0).getLastCharacters (6), ".00 ms");
    EXPECT_EQ (ParameterText::formatTwoDecimals (std::numeric_limits<double>::infinity()), "inf");
}
