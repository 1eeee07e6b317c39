#include "Orvane2StateButton.h"

Orvane2StateButton::Orvane2StateButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (true);
}

Orvane2StateButton::~Orvane2StateButton() = default;

void Orvane2StateButton::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    repaint();
}

void Orvane2StateButton::paintButton (juce::Graphics& g, bool, bool shouldDrawButtonAsDown)
{
    const bool on = getClickingTogglesState() ? getToggleState() : shouldDrawButtonAsDown;
    strip_.drawFrame (g, on ? 1 : 0, getLocalBounds());
}
