#pragma once

#include "ArtworkFonts.h"
#include "PedalDescription.h"

/**
    Draws the about picture: a dark rounded card with the maker's logo, the product's title,
    the "Version:" caption (the panel's label writes the number beside it), credits, the
    format trademark notices and the maker's legal notice, inside a soft shadow that fades
    to nothing at the picture's edges. Drawn in the pedal's units at a whole-number scale,
    like PedalPainter's pictures. Deterministic; any single thread.
*/
class AboutCardPainter
{
public:
    /** Both must outlive the painter; scale is 1 or more. */
    AboutCardPainter (const PedalDescription& pedal, const ArtworkFonts& fonts, int scale = 1);

    /** The picture: (aboutWidth × aboutHeight) × scale ARGB, transparent around the card. */
    juce::Image paint() const;

private:
    void paintShadow (juce::Image& image) const;
    void paintCard (juce::Graphics& g, juce::Image& image) const;
    void paintMakersLogo (juce::Graphics& g, float centreX, float centreY) const;
    void paintRule (juce::Graphics& g, float y) const;
    void paintText (juce::Graphics& g) const;

    juce::Rectangle<float> cardShape() const;

    const PedalDescription& pedal_;
    const ArtworkFonts& fonts_;
    int scale_;
};
