#pragma once

#include "PedalGeometry.h"

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A proof of the pictures as the editor will show them: the background with strip frames
    drawn at their widgets' rectangles, one pedal per pose, side by side: every control at
    rest; knobs at frame 50 with the switches pressed or on; knobs at frame 100 with the LEDs
    lit; and the about card over the pedal with a version label like the about panel's.
    Message thread (it paints a juce::Label).
*/
class ContactSheet
{
public:
    /** pictures holds the seven decoded 1× pictures in PedalArtwork::fileNames order. Returns
        an empty image if any is missing. */
    static juce::Image compose (const juce::Array<juce::Image>& pictures);

private:
    static void drawFrame (juce::Graphics& g, const juce::Image& strip, juce::Rectangle<int> bounds, int frame);
    static void drawVersionLabel (juce::Graphics& g);
};
