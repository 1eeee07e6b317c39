#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/**
    A rotary control drawn from a filmstrip of 101 renderings of the knob, from the minimum
    (frame 0, top of the strip) to the maximum (frame 100). It paints the one frame that
    matches its value, and a focus ring while it has the keyboard focus; dragging, double-click
    reset, value snapping, the value pop-up and listener calls are the slider's own.

    Behaviour the editor relies on, all with the slider's settings as this class leaves them:
    - no text box; range 0..1 (subclasses add the step);
    - vertical drag: 250 pixels of travel cover the whole range, upward increases, and the
      value stops at the ends; holding Ctrl, Alt or Command while dragging switches to the
      framework's velocity mode for as long as the key is held;
    - once setDoubleClickReturnValue (true, v) is given, a double-click, or a click with Alt
      held (whatever other modifier keys are down too), sets v and notifies synchronously.
      The modifier argument of setDoubleClickReturnValue is not used: the reset click is Alt.

    Keyboard: a click never gives the knob the keyboard focus (keys belong to the host until
    the user moves the focus here on purpose). Once focused, Up/Right and Down/Left turn it one
    step (a hundredth of the range: one frame of the strip), with Shift one interval of the
    slider; Page Up/Down ten steps; Home and End go to the ends. Every such change, like one
    through a screen reader's value interface, goes to the listeners synchronously inside a
    drag notification, exactly as a mouse drag delivers it.

    Only the three product knobs are created; they differ in getTextFromValue (the pop-up
    text). Message thread only.
*/
class OrvaneKnob : public juce::Slider
{
public:
    /** Frames in every knob strip: the count is the class's, not read from the picture. */
    static constexpr int numFrames = 101;

    /** Keyboard steps in a Page Up or Page Down. */
    static constexpr int stepsPerPage = 10;

    /** A knob with the given component name, without picture: it draws nothing until setImage. */
    explicit OrvaneKnob (const juce::String& name);
    ~OrvaneKnob() override;

    /** Holds strip (shared, not copied) as 101 frames stacked from the top, each as wide as
        the strip and strip height / 101 rows high; then repaints. An invalid image makes the
        knob draw nothing again. Give the knob bounds of one frame to draw it unscaled. */
    void setImage (juce::Image strip);

    /** The strip's double-size twin, decoded when the knob is first drawn above 100 %
        (Filmstrip::setDoubleSizeImage). */
    void setDoubleSizeImage (Filmstrip::Decoder decode);

    /** Where screen readers get the text of the knob's value from (the host's text of the
        parameter, say); without it, the pop-up's text (getTextFromValue). */
    void setAccessibleValueText (std::function<juce::String()> currentText);

    /** The text screen readers get for the current value. */
    juce::String getAccessibleValueText();

    /** One keyboard step: a hundredth of the range, which moves the picture one frame. */
    double getKeyboardStep() const;

    /** Draws the frame for the current value over the whole knob, scaled to fill: with
        p = (value − min) / (max − min), frame ceil (p × 100), so a value between two frame
        positions shows the higher one. */
    void paint (juce::Graphics& g) override;

    /** The focus ring, over the frame, while the knob has the keyboard focus. */
    void paintOverChildren (juce::Graphics& g) override;

    /** Widens the reset click to any click with Alt held, then lets the slider handle it. */
    void mouseDown (const juce::MouseEvent& e) override;

    /** The keys above; any other key is left to the parent (and so to the host). */
    bool keyPressed (const juce::KeyPress& key) override;

    /** Both repaint, to show or hide the focus ring. */
    void focusGained (FocusChangeType cause) override;
    void focusLost (FocusChangeType cause) override;

    /** A slider for screen readers: the component's title, the value as getAccessibleValueText
        gives it, range 0..1 in keyboard steps; a value set through it reaches the listeners
        like a drag. */
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

    /** Sets value as the user's own change: snapped and limited like any value, delivered to
        the listeners synchronously between drag start and drag end. */
    void setValueAsGesture (double value);

private:
    Filmstrip strip_ { numFrames };
    std::function<juce::String()> accessibleValueText_;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OrvaneKnob)
};
