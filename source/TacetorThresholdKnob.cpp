#include "TacetorThresholdKnob.h"

#include "ParameterText.h"

TacetorThresholdKnob::TacetorThresholdKnob (const juce::String& name)
    : OrvaneKnob (name)
{
    setRange (0.0, 1.0, 0.001);
}

juce::String TacetorThresholdKnob::getTextFromValue (double value)
{
    return ParameterText::thresholdKnobText (value);
}
