#pragma once

#include "FilmstripButton.h"

/**
    A switch drawn from a strip of two frames: 0 off, 1 on. Toggling by default: each
    completed click flips the toggle state, then notifies the listeners once.

    Toggling, the picture follows the toggle state only (pointer and press change nothing);
    momentary (setClickingTogglesState (false)), it shows frame 1 while held down. Always
    drawn at full opacity, enabled or not. Message thread only.
*/
class Orvane2StateButton : public FilmstripButton
{
public:
    static constexpr int numFrames = 2;

    /** A toggling button with the given component name, without picture. */
    explicit Orvane2StateButton (const juce::String& name);

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
};
