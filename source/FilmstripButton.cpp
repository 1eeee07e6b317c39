#include "FilmstripButton.h"

#include "FocusRing.h"

namespace
{
class SwitchAccessibilityHandler : public juce::AccessibilityHandler
{
public:
    explicit SwitchAccessibilityHandler (juce::Button& button)
        : juce::AccessibilityHandler (button,
                                      juce::AccessibilityRole::toggleButton,
                                      juce::AccessibilityActions()
                                          .addAction (juce::AccessibilityActionType::press, [&button]
                                                      { button.triggerClick(); })
                                          .addAction (juce::AccessibilityActionType::toggle, [&button]
                                                      { button.triggerClick(); }),
                                      { std::make_unique<State> (button) })
        , button_ (button)
    {
    }

    juce::AccessibleState getCurrentState() const override
    {
        const auto state = juce::AccessibilityHandler::getCurrentState().withCheckable();
        return button_.getToggleState() ? state.withChecked() : state;
    }

private:
    class State : public juce::AccessibilityTextValueInterface
    {
    public:
        explicit State (juce::Button& button)
            : button_ (button)
        {
        }

        bool isReadOnly() const override { return true; }
        juce::String getCurrentValueAsString() const override { return button_.getToggleState() ? "On" : "Off"; }
        void setValueAsString (const juce::String&) override {}

    private:
        juce::Button& button_;
    };

    juce::Button& button_;
};
} // namespace

FilmstripButton::FilmstripButton (const juce::String& name, int numFrames)
    : juce::Button (name)
    , strip_ (numFrames)
{
    setMouseClickGrabsKeyboardFocus (false);
}

FilmstripButton::~FilmstripButton() = default;

void FilmstripButton::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    repaint();
}

void FilmstripButton::setDoubleSizeImage (Filmstrip::Decoder decode)
{
    strip_.setDoubleSizeImage (std::move (decode));
    repaint();
}

void FilmstripButton::drawFrame (juce::Graphics& g, int frame) const
{
    strip_.drawFrame (g, frame, getLocalBounds());
}

bool FilmstripButton::keyPressed (const juce::KeyPress& key)
{
    if (isEnabled() && key == juce::KeyPress (juce::KeyPress::spaceKey))
    {
        triggerClick();
        return true;
    }

    return juce::Button::keyPressed (key);
}

void FilmstripButton::paintOverChildren (juce::Graphics& g)
{
    if (hasKeyboardFocus (false))
        FocusRing::draw (g, FocusRing::roundedRectangleIn (getLocalBounds()));
}

std::unique_ptr<juce::AccessibilityHandler> FilmstripButton::createAccessibilityHandler()
{
    return std::make_unique<SwitchAccessibilityHandler> (*this);
}
