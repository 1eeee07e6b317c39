#include "Orvane2StateButton.h"

Orvane2StateButton::Orvane2StateButton (const juce::String& name)
    : FilmstripButton (name, numFrames)
{
    setClickingTogglesState (true);
}

void Orvane2StateButton::paintButton (juce::Graphics& g, bool, bool shouldDrawButtonAsDown)
{
    const bool on = getClickingTogglesState() ? getToggleState() : shouldDrawButtonAsDown;
    drawFrame (g, on ? 1 : 0);
}
