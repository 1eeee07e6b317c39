#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A switch drawn from a strip of two frames: 0 off, 1 on. Toggling by default: each
    completed click flips the toggle state, then notifies the listeners once.

    Toggling, the picture follows the toggle state only (pointer and press change nothing);
    momentary (setClickingTogglesState (false)), it shows frame 1 while held down. Always
    drawn at full opacity, enabled or not. Message thread only.
*/
class Orvane2StateButton : public juce::Button
{
public:
    static constexpr int numFrames = 2;

    /** A toggling button with the given component name, without picture: it draws nothing but still
        takes clicks. */
    explicit Orvane2StateButton (const juce::String& name);
    ~Orvane2StateButton() override;

    /** Holds strip (shared) as two frames stacked from the top, each strip height / 2 rows
        high, and repaints; an invalid image makes the button draw nothing. */
    void setImage (juce::Image strip);

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    Filmstrip strip_{numFrames};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Orvane2StateButton)
};
