#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A rotary control drawn from a filmstrip of 101 renderings of the knob, from the minimum
    (frame 0, top of the strip) to the maximum (frame 100). It paints the one frame that
    matches its value and nothing else; dragging, double-click reset, value snapping, the
    value pop-up and listener calls are the slider's own.

    Behaviour the editor relies on, all with the slider's settings as this class leaves them:
    - no text box; range 0..1 (subclasses add the step);
    - vertical drag: 250 pixels of travel cover the whole range, upward increases, and the
      value stops at the ends; holding Ctrl, Alt or Command while dragging switches to the
      framework's velocity mode for as long as the key is held;
    - once setDoubleClickReturnValue (true, v) is given, a double-click, or a click with Alt
      held (whatever other modifier keys are down too), sets v and notifies synchronously.
      The modifier argument of setDoubleClickReturnValue is not used: the reset click is Alt.

    Only the three product knobs are created; they differ in getTextFromValue (the pop-up
    text). Message thread only.
*/
class OrvaneKnob : public juce::Slider
{
public:
    /** Frames in every knob strip: the count is the class's, not read from the picture. */
    static constexpr int numFrames = 101;

    /** A knob with the given component name, without picture: it draws nothing until setImage. */
    explicit OrvaneKnob (const juce::String& name);
    ~OrvaneKnob() override;

    /** Holds strip (shared, not copied) as 101 frames stacked from the top, each as wide as
        the strip and strip height / 101 rows high; then repaints. An invalid image makes the
        knob draw nothing again. Give the knob bounds of one frame to draw it unscaled. */
    void setImage (juce::Image strip);

    /** Draws the frame for the current value over the whole knob, scaled to fill: with
        p = (value − min) / (max − min), frame ceil (p × 100), so a value between two frame
        positions shows the higher one. */
    void paint (juce::Graphics& g) override;

    /** Widens the reset click to any click with Alt held, then lets the slider handle it. */
    void mouseDown (const juce::MouseEvent& e) override;

private:
    Filmstrip strip_{numFrames};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvaneKnob)
};
