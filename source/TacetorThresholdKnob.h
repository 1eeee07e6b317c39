#pragma once

#include "OrvaneKnob.h"

/**
    The threshold knob: values 0..1 in steps of 0.001 (every value given, from the mouse or the
    processor, is snapped to the nearest step), with the threshold text in the value pop-up.
    Message thread only.
*/
class TacetorThresholdKnob : public OrvaneKnob
{
public:
    explicit TacetorThresholdKnob (const juce::String& name);

    /** The threshold text of a normalised value, as ParameterText::thresholdKnobText gives it. */
    juce::String getTextFromValue (double value) override;
};
