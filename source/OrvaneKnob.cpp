#include "OrvaneKnob.h"

#include <cmath>

OrvaneKnob::OrvaneKnob (const juce::String& name)
    : juce::Slider (name)
{
    setTextBoxStyle (NoTextBox, true, 0, 0);
    setRange (0.0, 1.0, 0.0);
    setSliderStyle (RotaryVerticalDrag);
}

OrvaneKnob::~OrvaneKnob() = default;

void OrvaneKnob::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    repaint();
}

void OrvaneKnob::paint (juce::Graphics& g)
{
    if (strip_.isEmpty())
        return;

    const double minimum = getMinimum();
    const double proportion = (getValue() - minimum) / (getMaximum() - minimum);

    // A ceiling, not rounding: only the minimum itself shows frame 0, and the double product
    // decides the edge cases (0.07 × 100.0 lies just above 7, so 0.07 shows frame 8).
    double position = proportion * (numFrames - 1.0);

    // The slider keeps ordinary values in range, but a NaN value (which it stores as given) or
    // an empty range must not index outside the strip: they show the minimum.
    if (! (position >= 0.0))
        position = 0.0;

    const auto frame = static_cast<int> (std::ceil (juce::jmin (position, numFrames - 1.0)));

    strip_.drawFrame (g, frame, getLocalBounds());
}

void OrvaneKnob::mouseDown (const juce::MouseEvent& e)
{
    // The slider takes a click as a reset only when exactly its reset modifiers are held, so
    // Ctrl-Alt or Shift-Alt would start a drag; here any click with Alt held resets.
    const auto held = e.mods.withoutMouseButtons();
    setDoubleClickReturnValue (isDoubleClickReturnEnabled(),
                               getDoubleClickReturnValue(),
                               held.isAltDown() ? held : juce::ModifierKeys (juce::ModifierKeys::altModifier));

    juce::Slider::mouseDown (e);
}
