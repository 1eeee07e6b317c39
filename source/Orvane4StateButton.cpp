#include "Orvane4StateButton.h"

Orvane4StateButton::Orvane4StateButton (const juce::String& name)
    : FilmstripButton (name, numFrames)
{
    setClickingTogglesState (true);
}

int Orvane4StateButton::getFrameHeight() const { return getStripImage().getHeight() / numFrames; }

int Orvane4StateButton::getFrameWidth() const { return getStripImage().getWidth(); }

void Orvane4StateButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    int frame = 0;

    if (getClickingTogglesState())
        frame = getToggleState() ? (shouldDrawButtonAsHighlighted ? 2 : 3)
                                 : (shouldDrawButtonAsHighlighted ? 1 : 0);
    else
        frame = shouldDrawButtonAsDown ? 2 : (shouldDrawButtonAsHighlighted ? 1 : 0);

    drawDimmableFrame (g, frame);
}

void Orvane4StateButton::drawDimmableFrame (juce::Graphics& g, int frame) const
{
    g.setOpacity (isEnabled() ? 1.0f : 0.4f);
    drawFrame (g, frame);
}
