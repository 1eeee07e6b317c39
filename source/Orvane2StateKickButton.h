#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A momentary button: each completed click notifies the listeners once and the toggle state
    never changes. Without a picture (as it is created) it draws nothing at all, which makes it
    an invisible click area over artwork drawn by its parent.

    It may be given either a two-frame strip (frame 0 released, frame 1 held down) or two
    separate pictures; it shows the held-down picture only while pressed, ignores the pointer
    merely being over it and never dims. A click never gives it the keyboard focus. Message
    thread only.
*/
class Orvane2StateKickButton : public juce::Button
{
public:
    /** A momentary button with the given component name, without picture. */
    explicit Orvane2StateKickButton (const juce::String& name);
    ~Orvane2StateKickButton() override;

    /** Draws from strip (shared): two frames stacked from the top, each strip height / 2 rows
        high; an invalid image makes the button draw nothing. Repaints. */
    void setImage (juce::Image strip);

    /** Draws released or pressed (shared), each whole picture over the whole button; draws
        nothing unless both are valid. Repaints. */
    void setImages (juce::Image released, juce::Image pressed);

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    Filmstrip strip_ { 2 };
    Filmstrip releasedImage_ { 1 };
    Filmstrip pressedImage_ { 1 };
    bool useSeparateImages_ = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Orvane2StateKickButton)
};
