#include "Orvane4StateButton.h"

Orvane4StateButton::Orvane4StateButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (true);
}

Orvane4StateButton::~Orvane4StateButton() = default;

void Orvane4StateButton::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    repaint();
}

int Orvane4StateButton::getFrameHeight() const { return strip_.getImage().getHeight() / numFrames; }

int Orvane4StateButton::getFrameWidth() const { return strip_.getImage().getWidth(); }

void Orvane4StateButton::paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    int frame = 0;

    if (getClickingTogglesState())
        frame = getToggleState() ? (shouldDrawButtonAsHighlighted ? 2 : 3)
                                 : (shouldDrawButtonAsHighlighted ? 1 : 0);
    else
        frame = shouldDrawButtonAsDown ? 2 : (shouldDrawButtonAsHighlighted ? 1 : 0);

    drawFrame (g, frame);
}

void Orvane4StateButton::drawFrame (juce::Graphics& g, int frame) const
{
    g.setOpacity (isEnabled() ? 1.0f : 0.4f);
    strip_.drawFrame (g, frame, getLocalBounds());
}
