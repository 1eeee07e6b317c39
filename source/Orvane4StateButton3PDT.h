#pragma once

#include "Orvane4StateButton.h"

/**
    A stomp footswitch with its LED, drawn from a strip of four frames: 0 LED dark and switch
    up, 1 LED dark and switch pressed, 2 LED lit and switch up, 3 LED lit and switch pressed.

    Toggling (the default): the LED follows the toggle state and the switch shows its pressed
    pose only while the mouse button is held on it; the pointer merely being over it changes
    nothing. Momentary, it always shows frame 0. Dimmed to 40 % while disabled, like its
    base. Message thread only.
*/
class Orvane4StateButton3PDT : public Orvane4StateButton
{
public:
    explicit Orvane4StateButton3PDT (const juce::String& name);

protected:
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
};
