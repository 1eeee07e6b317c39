#include "TacetorDecayKnob.h"

#include "ParameterText.h"

TacetorDecayKnob::TacetorDecayKnob (const juce::String& name)
    : OrvaneKnob (name)
{
    setRange (0.0, 1.0, 0.001);
}

juce::String TacetorDecayKnob::getTextFromValue (double value)
{
    return ParameterText::decayKnobText (value);
}
