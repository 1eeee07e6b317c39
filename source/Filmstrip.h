#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/**
    A picture that holds a fixed number of equal frames stacked vertically from the top, and
    the drawing of one of them. Frame k is the rectangle (0, k × h / n, w, h / n), h / n in
    integer arithmetic; rows left over below the last frame are never drawn.

    The strip may have a twin drawn at twice the size, frame for frame. Wherever the graphics
    context maps one of the component's pixels to more than one pixel of the screen or image
    it paints (a display at more than 100 %, a host's scale factor), the twin is drawn
    instead, so the picture stays sharp; elsewhere the strip itself, pixel for pixel.

    The widgets keep the whole strip (a shared reference, never a copy) and draw one frame at
    a time, so switching frames costs one rectangle copy. Message thread only, like the
    widgets that own it.
*/
class Filmstrip
{
public:
    /** Makes the double-size twin when it is first needed. */
    using Decoder = std::function<juce::Image()>;

    /** An empty strip that will treat any picture it is given as numFrames frames (≥ 1). */
    explicit Filmstrip (int numFrames) noexcept;

    /** Holds picture as the strip. A valid picture sets the frame size (its width, and its
        height / numFrames); an invalid one makes the strip empty and keeps the previous frame
        size, so only drawing is affected. */
    void setImage (juce::Image picture);

    /** Gives the strip its double-size twin. decode runs once, on the first draw that would
        use the twin (a twin is large, and most editors never need one). A twin whose frames
        are not exactly twice the strip's frame size is never drawn. */
    void setDoubleSizeImage (Decoder decode);

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
        the twin's frame where g paints more than one pixel per unit and the twin fits, the
        strip's otherwise; nothing while the strip is empty. */
    void drawFrame (juce::Graphics& g, int frame, juce::Rectangle<int> destination) const;

private:
    /** The twin, decoded on first use; invalid when there is none or it does not fit. */
    const juce::Image& getDoubleSizeImage() const;

    juce::Image image_;
    int numFrames_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;

    Decoder decodeDoubleSize_;
    mutable juce::Image doubleSizeImage_;
    mutable bool doubleSizeDecoded_ = false;
};
