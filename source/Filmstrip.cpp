#include "Filmstrip.h"

Filmstrip::Filmstrip (int numFrames) noexcept
    : numFrames_ (juce::jmax (1, numFrames))
{
}

void Filmstrip::setImage (juce::Image picture)
{
    image_ = std::move (picture);

    if (image_.isValid())
    {
        frameWidth_ = image_.getWidth();
        frameHeight_ = image_.getHeight() / numFrames_;
    }
}

void Filmstrip::setDoubleSizeImage (Decoder decode)
{
    decodeDoubleSize_ = std::move (decode);
    doubleSizeImage_ = {};
    doubleSizeDecoded_ = false;
}

const juce::Image& Filmstrip::getDoubleSizeImage() const
{
    if (! doubleSizeDecoded_ && decodeDoubleSize_ != nullptr)
    {
        doubleSizeDecoded_ = true;
        doubleSizeImage_ = decodeDoubleSize_();

        // Drawn frame for frame over the strip's frames: a twin of any other size would show
        // the wrong part of the picture, so the strip serves instead.
        if (doubleSizeImage_.getWidth() != 2 * frameWidth_ || doubleSizeImage_.getHeight() / numFrames_ != 2 * frameHeight_)
            doubleSizeImage_ = {};
    }

    return doubleSizeImage_;
}

void Filmstrip::drawFrame (juce::Graphics& g, int frame, juce::Rectangle<int> destination) const
{
    if (isEmpty())
        return;

    // Above 1 the strip's own pixels would be stretched: the twin has the pixels the screen has.
    if (g.getInternalContext().getPhysicalPixelScaleFactor() > 1.0f)
    {
        if (const auto& twin = getDoubleSizeImage(); twin.isValid())
        {
            g.drawImage (twin,
                         destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                         0, frame * 2 * frameHeight_, 2 * frameWidth_, 2 * frameHeight_,
                         false);
            return;
        }
    }

    g.drawImage (image_,
                 destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                 0, frame * frameHeight_, frameWidth_, frameHeight_,
                 false);
}
