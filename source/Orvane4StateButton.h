#pragma once

#include "FilmstripButton.h"

/**
    A switch drawn from a strip of four frames: 0 off, 1 off with the pointer over it, 2 on
    with the pointer over it, 3 on. Toggling by default: each completed click flips the
    toggle state, then notifies the listeners once.

    Frames, toggling: off shows 0, or 1 while the pointer is over it (or it is held); on
    shows 3, or 2 while the pointer is over it. Momentary (setClickingTogglesState (false)):
    2 while held down, 1 with the pointer over it, else 0. A disabled button (or one inside a
    disabled parent) is drawn at 40 % opacity. Message thread only.
*/
class Orvane4StateButton : public FilmstripButton
{
public:
    static constexpr int numFrames = 4;

    /** A toggling button with the given component name, without picture. */
    explicit Orvane4StateButton (const juce::String& name);

    /** Height of one frame of the held strip in pixels (its height / 4); 0 without one. */
    virtual int getFrameHeight() const;

    /** Width of the held strip in pixels; 0 without one. */
    virtual int getFrameWidth() const;

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    /** Draws frame (0..3) over the whole button, dimmed to 40 % unless the button is enabled. */
    void drawDimmableFrame (juce::Graphics& g, int frame) const;
};
