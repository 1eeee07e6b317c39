#include "FilmstripButton.h"

FilmstripButton::FilmstripButton (const juce::String& name, int numFrames)
    : juce::Button (name)
    , strip_ (numFrames)
{
}

FilmstripButton::~FilmstripButton() = default;

void FilmstripButton::setImage (juce::Image strip)
{
    strip_.setImage (std::move (strip));
    repaint();
}

void FilmstripButton::drawFrame (juce::Graphics& g, int frame) const
{
    strip_.drawFrame (g, frame, getLocalBounds());
}
