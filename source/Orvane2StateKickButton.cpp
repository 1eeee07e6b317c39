#include "Orvane2StateKickButton.h"

Orvane2StateKickButton::Orvane2StateKickButton (const juce::String& name)
    : juce::Button (name)
{
    setClickingTogglesState (false);
    setMouseClickGrabsKeyboardFocus (false);
}

Orvane2StateKickButton::~Orvane2StateKickButton() = default;

void Orvane2StateKickButton::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    useSeparateImages_ = false;
    repaint();
}

void Orvane2StateKickButton::setImages (juce::Image released, juce::Image pressed)
{
    releasedImage_.setImage (std::move (released));
    pressedImage_.setImage (std::move (pressed));
    useSeparateImages_ = true;
    repaint();
}

void Orvane2StateKickButton::paintButton (juce::Graphics& g, bool, bool shouldDrawButtonAsDown)
{
    if (! useSeparateImages_)
    {
        strip_.drawFrame (g, shouldDrawButtonAsDown ? 1 : 0, getLocalBounds());
        return;
    }

    // A pair with one picture missing would flicker between a picture and nothing.
    if (releasedImage_.isEmpty() || pressedImage_.isEmpty())
        return;

    (shouldDrawButtonAsDown ? pressedImage_ : releasedImage_).drawFrame (g, 0, getLocalBounds());
}
