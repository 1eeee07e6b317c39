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

void Filmstrip::drawFrame (juce::Graphics& g, int frame, juce::Rectangle<int> destination) const
{
    if (isEmpty())
        return;

    g.drawImage (image_,
                 destination.getX(), destination.getY(), destination.getWidth(), destination.getHeight(),
                 0, frame * frameHeight_, frameWidth_, frameHeight_,
                 false);
}
