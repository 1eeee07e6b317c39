#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/**
    A picture that holds a fixed number of equal frames stacked vertically from the top, and
    the drawing of one of them. Frame k is the rectangle (0, k × h / n, w, h / n), h / n in
    integer arithmetic; rows left over below the last frame are never drawn.

    The widgets keep the whole strip (a shared reference, never a copy) and draw one frame at
    a time, so switching frames costs one rectangle copy. Message thread only, like the
    widgets that own it.
*/
class Filmstrip
{
public:
    /** An empty strip that will treat any picture it is given as numFrames frames (≥ 1). */
    explicit Filmstrip (int numFrames) noexcept;

    /** Holds picture as the strip. A valid picture sets the frame size (its width, and its
        height / numFrames); an invalid one makes the strip empty and keeps the previous frame
        size, so only drawing is affected. */
    void setImage (juce::Image picture);

    /** The held picture; invalid while the strip is empty. */
    const juce::Image& getImage() const noexcept { return image_; }

    /** True while no valid picture is held: drawFrame then draws nothing. */
    bool isEmpty() const noexcept { return ! image_.isValid(); }

    int getNumFrames() const noexcept { return numFrames_; }

    /** Width of one frame in pixels (the picture's width); 0 until a picture was held. */
    int getFrameWidth() const noexcept { return frameWidth_; }

    /** Height of one frame in pixels (picture height / frame count, truncated); 0 until a
        picture was held. */
    int getFrameHeight() const noexcept { return frameHeight_; }

    /** Draws frame (0 .. numFrames − 1) into destination, scaled to fill it, at g's current
        opacity; the picture's own alpha is kept (the current brush is not used). Draws
        nothing while the strip is empty. */
    void drawFrame (juce::Graphics& g, int frame, juce::Rectangle<int> destination) const;

private:
    juce::Image image_;
    int numFrames_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
};
