#pragma once

#include <juce_core/juce_core.h>

/**
    The texts that show parameter values: to hosts (getParameterText) and on the knobs'
    value pop-ups. The unit is part of the text; hosts get no separate label.

    Pure functions, callable from any thread (they allocate the returned string, so not from
    the audio callback).
*/
namespace ParameterText
{
/** x with exactly two decimals, the magnitude rounded half up, a minus sign before any
    negative value (also one that rounds to 0.00): -0.001 gives "-0.00", 2.005 "2.01". Every
    digit of a huge number is written; infinities and not-a-number read "inf", "-inf", "nan". */
juce::String formatTwoDecimals (double x);

/** The host text for parameter index (0..4) holding the normalised value: "On"/"Off" for
    the switches (only exactly 0 is "Off"), dB for the threshold ("-oo" at 0, below it and
    wherever the level rounds to 0), ms for attack and
    decay; "" for any other index. Powers and logarithms in single precision. */
juce::String hostText (int index, float value);

/** Knob texts, in double precision: "-oo" or "-32.04 dB"; "20.00 ms"; "200.00 ms". */
juce::String thresholdKnobText (double value);
juce::String attackKnobText (double value);
juce::String decayKnobText (double value);
} // namespace ParameterText
