#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A switch drawn by copying one frame of a strip; the subclasses decide which frame each
    button condition shows (paintButton) and set their click mode. Without a picture it
    draws nothing but still takes clicks.

    Keyboard: a click never gives it the keyboard focus (in a host, Space and Return belong to
    the transport); once the user has moved the focus here, Space or Return clicks it, the way
    a completed mouse click does, and a focus ring shows over the picture. Screen readers see
    a toggle button with the component's title and "On" or "Off". Message thread only.
*/
class FilmstripButton : public juce::Button
{
public:
    ~FilmstripButton() override;

    /** Holds strip (shared, not copied) as the subclass's number of frames stacked from the
        top, each as wide as the strip and strip height / frames rows high (rows left over are
        never drawn), then repaints. An invalid image makes the button draw nothing. */
    void setImage (juce::Image strip);

    /** The strip's double-size twin, decoded when the button is first drawn above 100 %
        (Filmstrip::setDoubleSizeImage). */
    void setDoubleSizeImage (Filmstrip::Decoder decode);

    /** Space clicks the button; Return too, as for any button. Other keys go to the parent. */
    bool keyPressed (const juce::KeyPress& key) override;

    /** The focus ring, over the frame, while the button has the keyboard focus. */
    void paintOverChildren (juce::Graphics& g) override;

    /** A toggle button for screen readers: checkable, checked while on, "On"/"Off" as its
        value; pressing or toggling it clicks it as the mouse does. */
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

protected:
    /** A button with the given component name and a strip of numFrames frames. */
    FilmstripButton (const juce::String& name, int numFrames);

    /** The held strip (invalid while there is none). */
    const juce::Image& getStripImage() const noexcept { return strip_.getImage(); }

    /** Draws frame over the whole button, scaled to fill, at g's current opacity. */
    void drawFrame (juce::Graphics& g, int frame) const;

private:
    Filmstrip strip_;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (FilmstripButton)
};
