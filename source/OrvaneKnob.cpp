#include "OrvaneKnob.h"

#include "FocusRing.h"

#include <cmath>

namespace
{
class KnobAccessibilityHandler : public juce::AccessibilityHandler
{
public:
    explicit KnobAccessibilityHandler (OrvaneKnob& knob)
        : juce::AccessibilityHandler (knob, juce::AccessibilityRole::slider, {}, { std::make_unique<Value> (knob) })
    {
    }

private:
    class Value : public juce::AccessibilityValueInterface
    {
    public:
        explicit Value (OrvaneKnob& knob)
            : knob_ (knob)
        {
        }

        bool isReadOnly() const override { return false; }
        double getCurrentValue() const override { return knob_.getValue(); }
        void setValue (double newValue) override { knob_.setValueAsGesture (newValue); }
        juce::String getCurrentValueAsString() const override { return knob_.getAccessibleValueText(); }
        void setValueAsString (const juce::String& text) override { setValue (knob_.getValueFromText (text)); }

        AccessibleValueRange getRange() const override
        {
            return { { knob_.getMinimum(), knob_.getMaximum() }, knob_.getKeyboardStep() };
        }

    private:
        OrvaneKnob& knob_;
    };
};
} // namespace

OrvaneKnob::OrvaneKnob (const juce::String& name)
    : juce::Slider (name)
{
    setTextBoxStyle (NoTextBox, true, 0, 0);
    setRange (0.0, 1.0, 0.0);
    setSliderStyle (RotaryVerticalDrag);

    setWantsKeyboardFocus (true);
    setMouseClickGrabsKeyboardFocus (false);
}

OrvaneKnob::~OrvaneKnob() = default;

void OrvaneKnob::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    repaint();
}

void OrvaneKnob::setDoubleSizeImage (Filmstrip::Decoder decode)
{
    strip_.setDoubleSizeImage (std::move (decode));
    repaint();
}

void OrvaneKnob::setAccessibleValueText (std::function<juce::String()> currentText)
{
    accessibleValueText_ = std::move (currentText);
}

juce::String OrvaneKnob::getAccessibleValueText()
{
    return accessibleValueText_ != nullptr ? accessibleValueText_() : getTextFromValue (getValue());
}

double OrvaneKnob::getKeyboardStep() const
{
    return (getMaximum() - getMinimum()) / (numFrames - 1);
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

void OrvaneKnob::paintOverChildren (juce::Graphics& g)
{
    if (hasKeyboardFocus (false))
        FocusRing::draw (g, FocusRing::circleIn (getLocalBounds()));
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

bool OrvaneKnob::keyPressed (const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();

    // Combinations with Ctrl, Alt or Command are the host's shortcuts.
    if (mods.isCtrlDown() || mods.isAltDown() || mods.isCommandDown())
        return false;

    // Shift gives the fine step the mouse reaches too: every value the slider can hold.
    const auto step = mods.isShiftDown() && getInterval() > 0.0 ? getInterval() : getKeyboardStep();
    const auto code = key.getKeyCode();
    double target = getValue();

    if (code == juce::KeyPress::upKey || code == juce::KeyPress::rightKey)
        target += step;
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::leftKey)
        target -= step;
    else if (code == juce::KeyPress::pageUpKey)
        target += step * stepsPerPage;
    else if (code == juce::KeyPress::pageDownKey)
        target -= step * stepsPerPage;
    else if (code == juce::KeyPress::homeKey)
        target = getMinimum();
    else if (code == juce::KeyPress::endKey)
        target = getMaximum();
    else
        return false;

    setValueAsGesture (target);
    return true;
}

void OrvaneKnob::setValueAsGesture (double value)
{
    const ScopedDragNotification gesture (*this);
    setValue (value, juce::sendNotificationSync);
}

void OrvaneKnob::focusGained (FocusChangeType) { repaint(); }

void OrvaneKnob::focusLost (FocusChangeType) { repaint(); }

std::unique_ptr<juce::AccessibilityHandler> OrvaneKnob::createAccessibilityHandler()
{
    return std::make_unique<KnobAccessibilityHandler> (*this);
}
