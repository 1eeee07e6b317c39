#pragma once

#include "OrvaneKnob.h"

/**
    The attack knob: values 0..1 in steps of 0.001 (every value given, from the mouse or the
    processor, is snapped to the nearest step), with the attack text in the value pop-up.
    Message thread only.
*/
class TacetorAttackKnob : public OrvaneKnob
{
public:
    explicit TacetorAttackKnob (const juce::String& name);

    /** The attack text of a normalised value, as ParameterText::attackKnobText gives it. */
    juce::String getTextFromValue (double value) override;
};
