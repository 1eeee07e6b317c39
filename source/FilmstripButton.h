#pragma once

#include "Filmstrip.h"

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A button drawn by copying one frame of a strip; the subclasses decide which frame each
    button condition shows (paintButton) and set their click mode. Without a picture it
    draws nothing but still takes clicks. Message thread only.
*/
class FilmstripButton : public juce::Button
{
public:
    ~FilmstripButton() override;

    /** Holds strip (shared, not copied) as the subclass's number of frames stacked from the
        top, each as wide as the strip and strip height / frames rows high (rows left over are
        never drawn), then repaints. An invalid image makes the button draw nothing. */
    void setImage (juce::Image strip);

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
