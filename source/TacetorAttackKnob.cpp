#include "TacetorAttackKnob.h"

#include "ParameterText.h"

TacetorAttackKnob::TacetorAttackKnob (const juce::String& name)
    : OrvaneKnob (name)
{
    setRange (0.0, 1.0, 0.001);
}

juce::String TacetorAttackKnob::getTextFromValue (double value)
{
    return ParameterText::attackKnobText (value);
}
