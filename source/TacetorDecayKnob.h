#pragma once

#include "OrvaneKnob.h"

/**
    The decay knob: values 0..1 in steps of 0.001 (every value given, from the mouse or the
    processor, is snapped to the nearest step), with the decay text in the value pop-up.
    Message thread only.
*/
class TacetorDecayKnob : public OrvaneKnob
{
public:
    explicit TacetorDecayKnob (const juce::String& name);

    /** The decay text of a normalised value, as ParameterText::decayKnobText gives it. */
    juce::String getTextFromValue (double value) override;
};
