#include "AboutCardPainter.h"

#include "Lettering.h"
#include "PedalPainter.h"

#include <cmath>

namespace
{
constexpr float cornerRadius = 9.0f;
constexpr float textWidth = 262.0f;
} // namespace

AboutCardPainter::AboutCardPainter (const PedalDescription& pedal, const ArtworkFonts& fonts, int scale)
    : pedal_ (pedal)
    , fonts_ (fonts)
    , scale_ (juce::jmax (1, scale))
{
}

// The card reaches a little past the rectangle that must be opaque, so that its rounded
// corners stay outside it.
juce::Rectangle<float> AboutCardPainter::cardShape() const
{
    return PedalGeometry::aboutCard.toFloat().expanded (3.0f, 3.0f);
}

juce::Image AboutCardPainter::paint() const
{
    const auto size = PedalGeometry::aboutPanel * scale_;
    juce::Image image (juce::Image::ARGB, size.getWidth(), size.getHeight(), true, juce::SoftwareImageType());
    paintShadow (image);

    juce::Graphics g (image);

    PedalPainter::useUnits (g, scale_);
    paintCard (g, image);
    paintText (g);
    return image;
}

void AboutCardPainter::paintShadow (juce::Image& image) const
{
    // Falls off with the distance from the card, measured against the room left to each
    // edge of the picture, so it is fully transparent on the outermost pixels.
    const auto card = cardShape() * static_cast<float> (scale_);
    const auto roomX = card.getX();
    const auto roomY = card.getY();
    juce::Image::BitmapData pixels (image, juce::Image::BitmapData::writeOnly);

    for (int y = 0; y < image.getHeight(); ++y)
    {
        for (int x = 0; x < image.getWidth(); ++x)
        {
            const auto outsideX = std::abs (static_cast<float> (x) + 0.5f - card.getCentreX()) + 0.5f - card.getWidth() * 0.5f;
            const auto outsideY = std::abs (static_cast<float> (y) + 0.5f - card.getCentreY()) + 0.5f - card.getHeight() * 0.5f;
            const auto distance = std::hypot (juce::jmax (0.0f, outsideX) / roomX, juce::jmax (0.0f, outsideY) / roomY);
            const auto strength = distance < 1.0f ? 0.62f * (1.0f - distance) * (1.0f - distance) : 0.0f;
            pixels.setPixelColour (x, y, juce::Colours::black.withAlpha (strength));
        }
    }
}

void AboutCardPainter::paintCard (juce::Graphics& g, juce::Image& image) const
{
    const auto card = cardShape();
    juce::Path shape;
    shape.addRoundedRectangle (card, cornerRadius);

    g.setGradientFill (juce::ColourGradient (pedal_.colours.card.brighter (0.12f), 0.0f, card.getY(),
                                             pedal_.colours.card.darker (0.25f), 0.0f, card.getBottom(), false));
    g.fillPath (shape);
    PedalPainter::addGrain (image, scale_, shape, 0.008f, 41);

    g.setColour (juce::Colour (0x30ffffff));
    g.strokePath (shape, juce::PathStrokeType (1.0f), juce::AffineTransform::translation (0.0f, 0.5f));
    g.setColour (juce::Colour (0xff121315));
    g.strokePath (shape, juce::PathStrokeType (1.0f));

    // A thin red line across the top, the pedal's logo colour.
    g.setColour (pedal_.colours.accent);
    g.fillRect (juce::Rectangle<float> (card.getX() + cornerRadius, card.getY() + 1.0f, card.getWidth() - 2.0f * cornerRadius, 2.0f));
}

void AboutCardPainter::paintMakersLogo (juce::Graphics& g, float centreX, float centreY) const
{
    // The mark: a red disc cut by a cream sound wave, then the name in spaced capitals.
    const auto wordFont = fonts_.wordmark (25.0f).withExtraKerningFactor (0.2f);
    juce::GlyphArrangement word;
    word.addLineOfText (wordFont, pedal_.maker, 0.0f, 0.0f);
    const auto wordWidth = word.getBoundingBox (0, -1, false).getWidth();

    constexpr float markRadius = 12.0f;
    constexpr float gap = 9.0f;
    const auto left = centreX - (markRadius * 2.0f + gap + wordWidth) * 0.5f;
    const auto mark = juce::Point<float> (left + markRadius, centreY);

    g.setGradientFill (juce::ColourGradient (pedal_.colours.accent.brighter (0.35f), mark.x - markRadius, mark.y - markRadius,
                                             pedal_.colours.accent.darker (0.3f), mark.x + markRadius, mark.y + markRadius, false));
    g.fillEllipse (mark.x - markRadius, mark.y - markRadius, markRadius * 2.0f, markRadius * 2.0f);

    juce::Path wave;
    for (int i = 0; i <= 40; ++i)
    {
        const auto t = static_cast<float> (i) / 40.0f;
        const auto x = mark.x - markRadius * 0.78f + t * markRadius * 1.56f;
        const auto envelope = std::sin (t * juce::MathConstants<float>::pi);
        const auto y = mark.y - envelope * 6.0f * std::sin (t * juce::MathConstants<float>::twoPi * 2.0f);

        if (i == 0)
            wave.startNewSubPath (x, y);
        else
            wave.lineTo (x, y);
    }
    g.setColour (pedal_.colours.cardText);
    g.strokePath (wave, juce::PathStrokeType (2.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    word.moveRangeOfGlyphs (0, -1, mark.x + markRadius + gap, centreY + 9.0f);
    g.setColour (pedal_.colours.cardText);
    word.draw (g);
}

void AboutCardPainter::paintRule (juce::Graphics& g, float y) const
{
    const auto centreX = PedalGeometry::aboutPanel.toFloat().getCentreX();
    juce::ColourGradient fade (juce::Colour (0x00000000), centreX - textWidth * 0.5f, y,
                               juce::Colour (0x00000000), centreX + textWidth * 0.5f, y, false);
    fade.addColour (0.5, juce::Colour (0xff111214));
    g.setGradientFill (fade);
    g.fillRect (juce::Rectangle<float> (centreX - textWidth * 0.5f, y, textWidth, 1.0f));

    fade = juce::ColourGradient (juce::Colour (0x00ffffff), centreX - textWidth * 0.5f, y,
                                 juce::Colour (0x00ffffff), centreX + textWidth * 0.5f, y, false);
    fade.addColour (0.5, juce::Colour (0x26ffffff));
    g.setGradientFill (fade);
    g.fillRect (juce::Rectangle<float> (centreX - textWidth * 0.5f, y + 1.0f, textWidth, 1.0f));
}

void AboutCardPainter::paintText (juce::Graphics& g) const
{
    const auto centreX = PedalGeometry::aboutPanel.toFloat().getCentreX();
    const auto& text = pedal_.colours.cardText;
    const auto& dim = pedal_.colours.cardTextDim;
    const auto label = PedalGeometry::versionLabel.toFloat();

    paintMakersLogo (g, centreX, 30.0f);

    g.setColour (text);
    Lettering::drawCentred (g, fonts_.textBold (14.0f), pedal_.productLine + " " + pedal_.productName + juce::String::fromUTF8 (" \xc2\xb7 Noise Gate"),
                            centreX, 60.0f);

    // The panel's label draws the number bottom-left in its rectangle, inset by its border,
    // in a 15-pixel font: this caption sits on the same baseline just left of it.
    g.setColour (dim);
    Lettering::drawRightAligned (g, fonts_.text (15.0f), "Version:", label.getX() + 1.0f, label.getBottom() - 4.5f);

    paintRule (g, 92.0f);

    g.setColour (pedal_.colours.accent.brighter (0.45f));
    Lettering::drawCentred (g, fonts_.wordmark (11.0f), "CREDITS", centreX, 111.0f, 0.3f);
    g.setColour (text);
    Lettering::drawCentred (g, fonts_.textBold (13.0f), "The Orvane team", centreX, 129.0f);
    g.setColour (dim);
    Lettering::drawCentred (g, fonts_.condensed (12.0f), juce::String::fromUTF8 ("gate design \xc2\xb7 signal processing \xc2\xb7 user interface"), centreX, 145.0f);
    Lettering::drawCentred (g, fonts_.condensed (12.0f), juce::String::fromUTF8 ("pedal artwork \xc2\xb7 testing"), centreX, 159.0f);
    Lettering::drawCentred (g, fonts_.condensed (12.0f), "Made with JUCE", centreX, 175.0f);

    paintRule (g, 188.0f);

    g.setColour (pedal_.colours.accent.brighter (0.45f));
    Lettering::drawCentred (g, fonts_.wordmark (11.0f), "TRADEMARKS", centreX, 207.0f, 0.3f);
    g.setColour (dim);
    auto baseline = Lettering::drawParagraph (g, fonts_.condensed (11.5f), "VST and VST3 are trademarks of Steinberg Media Technologies GmbH.",
                                              centreX, 223.0f, textWidth, 13.0f);
    baseline = Lettering::drawParagraph (g, fonts_.condensed (11.5f), "Audio Units is a trademark of Apple Inc.", centreX, baseline + 13.0f, textWidth, 13.0f);
    baseline = Lettering::drawParagraph (g, fonts_.condensed (11.5f), "AAX is a trademark of Avid Technology, Inc.", centreX, baseline + 13.0f, textWidth, 13.0f);

    paintRule (g, baseline + 12.0f);

    g.setColour (dim);
    baseline = Lettering::drawParagraph (g, fonts_.condensed (11.5f),
                                         juce::String::fromUTF8 ("\xc2\xa9 2026 Orvane. All rights reserved. Pelmora and Tacetor are trademarks of Orvane. "
                                                                 "This software is provided as is, without warranty of any kind."),
                                         centreX, baseline + 31.0f, textWidth, 13.0f);
    g.setColour (text);
    Lettering::drawCentred (g, fonts_.textBold (12.0f), "www.orvane.com", centreX, baseline + 19.0f);
}
