#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    Text placed the way print on a panel is laid out: by baseline, centred or right-aligned
    on the ink rather than on a text box, optionally letter-spaced. Draws with the graphics
    context's current fill. Any single thread.
*/
struct Lettering
{
    /** One line centred on centreX; tracking is extra space per letter as a proportion of the
        font height (Font::withExtraKerningFactor). */
    static void drawCentred (juce::Graphics& g, const juce::Font& font, const juce::String& text,
                             float centreX, float baseline, float tracking = 0.0f);

    /** One line ending at rightX. */
    static void drawRightAligned (juce::Graphics& g, const juce::Font& font, const juce::String& text,
                                  float rightX, float baseline);

    /** Text wrapped at word boundaries into lines no wider than width, each centred on
        centreX, lineSpacing apart. Returns the baseline of the last line. */
    static float drawParagraph (juce::Graphics& g, const juce::Font& font, const juce::String& text,
                                float centreX, float firstBaseline, float width, float lineSpacing);
};
