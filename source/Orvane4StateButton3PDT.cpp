#include "Orvane4StateButton3PDT.h"

Orvane4StateButton3PDT::Orvane4StateButton3PDT (const juce::String& name)
    : Orvane4StateButton (name)
{
}

void Orvane4StateButton3PDT::paintButton (juce::Graphics& g, bool, bool shouldDrawButtonAsDown)
{
    int frame = 0;

    if (getClickingTogglesState())
        frame = (getToggleState() ? 2 : 0) + (shouldDrawButtonAsDown ? 1 : 0);

    drawDimmableFrame (g, frame);
}
