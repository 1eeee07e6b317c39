#pragma once

#include <juce_graphics/juce_graphics.h>

/**
    The ring a control draws over its picture while it has the keyboard focus: a bright line
    on a dark halo, so it stands out on cream print, black panels and chrome alike. Drawn as
    a path, it stays sharp at any display scale. Message thread.
*/
namespace FocusRing
{
/** Draws the ring along outline (in the control's coordinates). */
void draw (juce::Graphics& g, const juce::Path& outline);

/** A circle centred in bounds, just inside its shorter side: around a knob. */
juce::Path circleIn (juce::Rectangle<int> bounds);

/** A rounded rectangle just inside bounds: around a switch. */
juce::Path roundedRectangleIn (juce::Rectangle<int> bounds);
} // namespace FocusRing
